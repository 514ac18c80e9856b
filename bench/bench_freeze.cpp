// The well at 100,000 rows with a scattered selection, driven through the window
// (offscreen) with mouse and keys: list a folder of 100,000 files, register them all,
// select the first 50,000 with Shift, sort by clusters (the kept selection falls apart
// into thousands of blocks), sort by name, register one more file by a drop, delete the
// selection, and sort once more. Prints the wall-clock time of each step, the view
// painted. Usage: bench_freeze [FOLDER]
#include "BenchDrop.h"
#include "BenchSetUp.h"
#include "app/AppearanceSetup.h"
#include "window/Unit1.h"
#include "window/widgets/ListViews.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <cstdio>
#include <functional>
#include <random>

namespace {

constexpr int FileCount = 100000;

QString FileName(int i, std::mt19937& random) {
    return QStringLiteral("f%1_%2.bin").arg(random() % 1000000).arg(i);
}

// Makes the folder's files (sparse, of random sizes up to 1 GB) unless an earlier run
// made them all; a marker file is written last.
void MakeFiles(const QString& folder) {
    QDir dir(folder);
    const QString done = dir.filePath(QStringLiteral(".complete"));
    if (QFile::exists(done))
        return;
    dir.mkpath(QStringLiteral("."));
    std::mt19937 random(5);
    for (int i = 0; i < FileCount; ++i) {
        QFile file(dir.filePath(FileName(i, random)));
        if (!file.open(QIODevice::WriteOnly) || !file.resize(random() % 1000000000))
            qFatal("cannot write %s", qPrintable(file.fileName()));
    }
    QFile marker(done);
    if (!marker.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(done));
}

void Step(const char* what, const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    QApplication::processEvents(); // the views lay out and paint
    std::printf("| %-52s | %9lld |\n", what, static_cast<long long>(timer.elapsed()));
    std::fflush(stdout);
}

void ClickHeader(QTableView* view, int column) {
    QHeaderView* header = view->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void ClickRow(QTableView* view, int row, Qt::KeyboardModifiers modifiers) {
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers,
                      view->visualRect(index).center());
}

int SelectionBlocks(const QTableView* view) {
    return static_cast<int>(view->selectionModel()->selection().size());
}

QString CurrentName(const QTableView* view) {
    return view->currentIndex().siblingAtColumn(0).data().toString();
}

void Drive(TForm1& form, const QString& folder) {
    const QString extra = QDir::temp().filePath(QStringLiteral("ketrilo-bench-freeze-extra.bin"));
    QFile(extra).open(QIODevice::WriteOnly);
    QTableView* well = form.ListView1;
    std::printf("| %-52s | %9s |\n|%s|%s|\n", "step (100,000 rows)", "ms",
                std::string(54, '-').c_str(), std::string(11, '-').c_str());
    Step("list the folder (rescan)", [&] {
        form.Edit1->setText(folder + QLatin1Char('/'));
        const int64_t handled = form.HandlersEnded();
        form.ToolButton3->click();
        AwaitHandled(form, handled);
    });
    Step("register all 100,000 rows", [&] {
        form.ListView3->setFocus();
        QTest::keyClick(form.ListView3, Qt::Key_A, Qt::ControlModifier);
        form.ToolButton1->click();
    });
    Step("click row 1, Shift+click row 50,000", [&] {
        well->setFocus();
        ClickRow(well, 0, Qt::NoModifier);
        ClickRow(well, FileCount / 2 - 1, Qt::ShiftModifier);
    });
    const QString current = CurrentName(well);
    Step("sort by clusters (selection kept)", [&] { ClickHeader(well, 3); });
    std::printf("  selection now %d blocks, %lld rows; current row %s\n", SelectionBlocks(well),
                static_cast<long long>(SelectedRows(well).size()),
                CurrentName(well) == current ? "kept" : "lost");
    Step("sort by name", [&] { ClickHeader(well, 0); });
    Step("register one more file by a drop", [&] {
        const int64_t handled = form.HandlersEnded();
        DropOnWell(form, {extra});
        AwaitHandled(form, handled); // the drop is handled queued, its walk on a worker
    });
    std::printf("  %d rows in the well\n", well->model()->rowCount());
    Step("Delete the selection", [&] { QTest::keyClick(well, Qt::Key_Delete); });
    std::printf("  %d rows left\n", well->model()->rowCount());
    Step("sort by clusters", [&] { ClickHeader(well, 3); });
}

} // namespace

int main(int argc, char* argv[]) {
    UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    SetUpAppearance();
    const QString folder = FolderArgument(argc, argv, 1, QStringLiteral("ketrilo-bench-freeze"));
    MakeFiles(folder);
    TForm1 form(QStringLiteral("/nonexistent/ketrilodisclist.ini"));
    form.show();
    QApplication::processEvents();
    Drive(form, folder);
    return 0;
}
