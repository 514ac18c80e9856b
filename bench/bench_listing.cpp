// Lists folders in the window (offscreen) as the rescan command does, twice each, and
// prints the wall-clock and processor time of each listing, the peak memory and the size
// of the icon list after each, and the longest the window's event loop went without
// running a 10 ms timer during the listing (the listing's walk runs on a worker).
// Folders: 100,000 small files in one folder, and a folder whose sub-folders hold
// 300,000 files. Usage: bench_listing [FLAT_FOLDER [TREE_FOLDER]]
#include "BenchSetUp.h"
#include "app/AppearanceSetup.h"
#include "window/Unit1.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int FlatFileCount = 100000;
constexpr int TreeTopFolders = 20;
constexpr int TreeSubFolders = 15;
constexpr int TreeFilesPerFolder = 1000; // 20 x 15 x 1,000 = 300,000 files

// Eight kinds of file, so that the icon lookup meets several types.
const char* const Extensions[] = {".txt", ".jpg", ".mp3", ".pdf", ".c", ".html", ".zip", ""};

QString FileName(int i) {
    return QStringLiteral("file%1%2")
        .arg(i, 6, 10, QLatin1Char('0'))
        .arg(QLatin1String(Extensions[i % std::size(Extensions)]));
}

// Makes count one-byte files in folder unless an earlier run made them all.
void MakeFiles(const QString& folder, int count) {
    QDir dir(folder);
    if (QFile::exists(dir.filePath(FileName(count - 1))))
        return;
    dir.mkpath(QStringLiteral("."));
    for (int i = 0; i < count; ++i) {
        QFile file(dir.filePath(FileName(i)));
        if (!file.open(QIODevice::WriteOnly) || file.write("x", 1) != 1)
            qFatal("cannot write %s", qPrintable(file.fileName()));
    }
}

void MakeTree(const QString& root) {
    for (int top = 0; top < TreeTopFolders; ++top)
        for (int sub = 0; sub < TreeSubFolders; ++sub)
            MakeFiles(QStringLiteral("%1/top%2/sub%3").arg(root).arg(top).arg(sub),
                      TreeFilesPerFolder);
}

QString PeakMemory() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return QString::fromLatin1(line.mid(6).trimmed());
    return QStringLiteral("?");
}

struct ProcessorTime {
    long long userMs = 0;   // in the program's own code and its libraries
    long long systemMs = 0; // in the kernel, mostly reading folders
};

// Processor time of every thread of the process so far.
ProcessorTime ProcessorMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return {usage.ru_utime.tv_sec * 1000LL + usage.ru_utime.tv_usec / 1000,
            usage.ru_stime.tv_sec * 1000LL + usage.ru_stime.tv_usec / 1000};
}

void ListTwice(TForm1& form, const QString& folder, const char* what) {
    for (int run = 1; run <= 2; ++run) {
        form.Edit1->setText(folder + QLatin1Char('/'));
        // A timer of the window's thread: the longest gap between its ticks is the
        // longest the window could not paint or answer.
        QElapsedTimer sinceTick;
        qint64 longestGap = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout,
                         [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
        ticker.start(10);
        const ProcessorTime cpuBefore = ProcessorMs();
        QElapsedTimer timer;
        timer.start();
        sinceTick.start();
        const int64_t handled = form.HandlersEnded();
        form.ToolButton3->click();
        AwaitHandled(form, handled);
        QApplication::processEvents(); // the view lays out and paints its first rows
        const qint64 elapsed = timer.elapsed();
        const ProcessorTime cpuAfter = ProcessorMs();
        longestGap = std::max(longestGap, sinceTick.elapsed());
        std::printf("%s, listing %d: %lld ms (processor: user %lld ms, system %lld ms), %d rows, "
                    "longest event-loop stall %lld ms, peak memory %s, icons %d\n",
                    what, run, static_cast<long long>(elapsed), cpuAfter.userMs - cpuBefore.userMs,
                    cpuAfter.systemMs - cpuBefore.systemMs, form.ListView3->model()->rowCount(),
                    static_cast<long long>(longestGap), qPrintable(PeakMemory()),
                    form.ImageList1.Count());
    }
}

} // namespace

int main(int argc, char* argv[]) {
    UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    SetUpAppearance();
    const QString flat = FolderArgument(argc, argv, 1, QStringLiteral("ketrilo-bench-100k"));
    const QString tree = FolderArgument(argc, argv, 2, QStringLiteral("ketrilo-bench-300k"));
    MakeFiles(flat, FlatFileCount);
    MakeTree(tree);

    TForm1 form(QStringLiteral("/nonexistent/ketrilodisclist.ini"));
    form.show();
    QApplication::processEvents();
    std::printf("peak memory before listing %s\n", qPrintable(PeakMemory()));
    ListTwice(form, flat, "100,000 files in one folder");
    ListTwice(form, tree, "300,000 files in sub-folders");
    return 0;
}
