// Lists a folder of 100,000 small files in the window (offscreen) twice, as the rescan
// command does, and prints the time of each listing, the peak memory and the size of
// the icon list after each. Usage: bench_listing [FOLDER]
#include "AppearanceSetup.h"
#include "Unit1.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QToolButton>

#include <cstdio>

namespace {

constexpr int FileCount = 100000;

// Eight kinds of file, so that the icon lookup meets several types.
const char* const Extensions[] = {".txt", ".jpg", ".mp3", ".pdf", ".c", ".html", ".zip", ""};

QString FileName(int i) {
    return QStringLiteral("file%1%2")
        .arg(i, 6, 10, QLatin1Char('0'))
        .arg(QLatin1String(Extensions[i % std::size(Extensions)]));
}

// Makes the folder's files unless an earlier run made them all (the last one is there).
void MakeFiles(const QString& folder) {
    QDir dir(folder);
    if (QFile::exists(dir.filePath(FileName(FileCount - 1))))
        return;
    dir.mkpath(QStringLiteral("."));
    for (int i = 0; i < FileCount; ++i) {
        QFile file(dir.filePath(FileName(i)));
        if (!file.open(QIODevice::WriteOnly) || file.write("x", 1) != 1)
            qFatal("cannot write %s", qPrintable(file.fileName()));
    }
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

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetUpAppearance();
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QDir::temp().filePath(QStringLiteral("ketrilo-bench-100k"));
    MakeFiles(folder);

    TForm1 form(QStringLiteral("/nonexistent/ketrilodisclist.ini"));
    form.show();
    QApplication::processEvents();
    std::printf("folder %s, %d files; peak memory before listing %s\n", qPrintable(folder),
                FileCount, qPrintable(PeakMemory()));
    for (int run = 1; run <= 2; ++run) {
        form.Edit1->setText(folder + QLatin1Char('/'));
        QElapsedTimer timer;
        timer.start();
        form.ToolButton3->click();
        QApplication::processEvents(); // the view lays out and paints its first rows
        const qint64 elapsed = timer.elapsed();
        std::printf("listing %d: %lld ms, %d rows, peak memory %s, icons %d\n", run,
                    static_cast<long long>(elapsed), form.ListView3->model()->rowCount(),
                    qPrintable(PeakMemory()), form.ImageList1.Count());
    }
    return 0;
}
