// The image panel after one file is dropped onto a well of 300,000 files, in the real window:
// the time from the drop until the panel shows the new figure and until the judge has
// measured the well, with the window's own measures (the arithmetic, then libisofs as the
// judge) and with libisofs as the quick measure too, as the panel measured before. Figures
// only, never pass or fail.
// Usage: bench_image_panel [TREE]   (default $TMPDIR/ketrilo-bench-tree, which
//                                    bench/measure_tree.sh makes: 300,000 files)
#include "BenchDrop.h"
#include "BenchSetUp.h"
#include "app/AppearanceSetup.h"
#include "core/image/DiscImageStatus.h"
#include "image/IsoDiscImage.h"
#include "window/Unit1.h"
#include "window/work/DiscImageWatcher.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int Drops = 3;
constexpr int DeadlineMs = 600000;

struct Timing {
    qint64 wellMs = -1;   // the well holds the new rows: the walk has ended
    qint64 figureMs = -1; // the panel shows the quick figure of the new well
    qint64 judgedMs = -1; // the judge has measured the new well
    bool saidComputing = false;
};

// Drops paths onto the well and runs the window until the judge has measured the new well.
Timing DropAndWait(TForm1& form, const QStringList& paths) {
    Timing timing;
    QEventLoop loop;
    QElapsedTimer clock;
    const QString computing = QString::fromUtf8(ketrilo::ImageComputingText);
    // Told after every handler and whenever the panel changes, at once. The drop is handled
    // queued: the well has changed once its image is being computed.
    bool changed = false;
    const size_t rowsBefore = form.Workspace().well.Size();
    form.SetWatcher([&] {
        if (timing.wellMs < 0 && form.Workspace().well.Size() > rowsBefore)
            timing.wellMs = clock.elapsed();
        const DiscImageWatcher& image = form.Image();
        if (form.ImageStatusLabel->text() == computing)
            timing.saidComputing = true;
        if (image.Computing())
            changed = true;
        if (!changed || image.Computing())
            return;
        if (timing.figureMs < 0)
            timing.figureMs = clock.elapsed();
        if (image.JudgeVerdict() != DiscImageWatcher::Verdict::Pending) {
            timing.judgedMs = clock.elapsed();
            loop.quit();
        }
    });
    QTimer::singleShot(DeadlineMs, &loop, &QEventLoop::quit);
    clock.start();
    DropOnWell(form, paths);
    loop.exec();
    form.SetWatcher({});
    return timing;
}

void Run(const char* setup, const QString& tree, const QStringList& extras,
         const std::function<void(TForm1&)>& prepare) {
    TForm1 form(QStringLiteral("/nonexistent/ketrilodisclist.ini"));
    prepare(form);
    form.show();
    // The empty well's image first, so that the timing below is the new well's alone.
    while (form.Image().JudgeVerdict() == DiscImageWatcher::Verdict::Pending)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QStringList tops;
    for (const QString& name : QDir(tree).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        tops << QDir(tree).filePath(name);
    std::printf("%s\n", setup);
    const Timing registered = DropAndWait(form, tops);
    std::printf("  register %lld folders: well after %lld ms (the walk), figure after %lld ms, "
                "judged after %lld ms: %s\n",
                static_cast<long long>(tops.size()), registered.wellMs, registered.figureMs,
                registered.judgedMs, qPrintable(form.ImageStatusLabel->text()));
    for (const QString& extra : extras) {
        const Timing one = DropAndWait(form, {extra});
        std::printf("  drop one file: figure after %5lld ms (%s), judged after %5lld ms: %s\n",
                    one.figureMs, one.saidComputing ? "計算中… shown" : "no 計算中…", one.judgedMs,
                    qPrintable(form.ImageStatusLabel->text()));
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[]) {
    UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    SetUpAppearance();
    const QString tree = FolderArgument(argc, argv, 1, QStringLiteral("ketrilo-bench-tree"));
    if (!QFile::exists(QDir(tree).filePath(QStringLiteral(".complete")))) {
        std::fprintf(stderr, "%s is not a complete tree: make it with bash bench/measure_tree.sh\n",
                     qPrintable(tree));
        return 2;
    }
    // Files never in the well before: each drop adds one row.
    const auto extras = [](const char* setup) {
        QStringList paths;
        for (int i = 0; i < Drops; ++i) {
            const QString path = QDir::temp().filePath(
                QStringLiteral("ketrilo-bench-panel-%1-%2.txt").arg(QLatin1String(setup)).arg(i));
            QFile(path).open(QIODevice::WriteOnly);
            paths << path;
        }
        return paths;
    };
    Run("the window's measures (the arithmetic, libisofs as the judge)", tree, extras("window"),
        [](TForm1&) {});
    Run("libisofs as the quick measure too, as before", tree, extras("libisofs"), [](TForm1& f) {
        f.SetDiscImages(std::make_shared<ketrilo::IsoDiscImage>(),
                        std::make_shared<ketrilo::IsoDiscImage>());
    });
    return 0;
}
