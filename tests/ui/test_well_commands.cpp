// The well as the user drives it: registering the folder list's selection, drops on the
// upper and the lower area, duplicates, the self-drop guard, recalculating and clearing,
// deleting by key, and sorting by a header click.
#include "support/DropHelpers.h"
#include "support/WindowFixture.h"
#include "window/widgets/ListViews.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace ui_test;

namespace {

const QString LongName = QString(61, QLatin1Char('L')) + QStringLiteral(".txt"); // 65 units
const QString Duplicate = QStringLiteral("重複しています");

void ClickHeader(QTableView* view, int column) {
    QHeaderView* header = view->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void ClickRow(QTableView* view, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QModelIndex index = view->model()->index(row, 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers,
                      view->visualRect(index).center());
}

QStringList SelectedNames(const QTableView* view) {
    QStringList names;
    for (const QModelIndex& index : view->selectionModel()->selectedRows())
        names << index.data().toString();
    names.sort();
    return names;
}

QString CurrentName(const QTableView* view) {
    return view->currentIndex().siblingAtColumn(0).data().toString();
}

QStringList Sorted(QStringList texts) {
    texts.sort();
    return texts;
}

} // namespace

class WellCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_tree = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tree->isValid());
        QDir(m_tree->path()).mkpath(QStringLiteral("tree/sub"));
        MakeFile(Path("three.bin"), 5000);            // 3 clusters
        MakeFile(Path("one.txt"), 1);                 // 1 cluster
        MakeFile(Path("tree/two.bin"), 4096);         // 2 clusters
        MakeFile(Path("tree/sub/" + LongName), 2049); // 2 clusters, and a long name
        m_fixture = std::make_unique<WindowFixture>();
        Form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&Form()));
    }
    void cleanup() { m_fixture.reset(); }

    void registersTheSelectedRowsUnderTheListedFolder() {
        TForm1& f = Form();
        m_fixture->AnswerChooser(m_tree->path());
        QVERIFY(Handled(f, [&] { f.ToolButton2->click(); }));
        const QStringList listed = ColumnTexts(f.ListView3, 0);
        SelectOnly(f.ListView3, {int(listed.indexOf("three.bin")), int(listed.indexOf("tree"))});
        // Rows belong to the folder they were listed from, whatever the box says now.
        f.Edit1->setText(QStringLiteral("/elsewhere/"));
        f.ToolButton1->click();
        QCOMPARE(Sorted(ColumnTexts(f.ListView1, 0)), QStringList({"three.bin", "tree"}));
        QCOMPARE(ColumnTexts(f.ListView1, 4), QStringList(2, m_tree->path() + "/"));
        QVERIFY2(m_fixture->Status().startsWith(QStringLiteral("クラスタ:7個")),
                 qPrintable(m_fixture->Status()));

        // The menu entry does the same; rows already in the well are skipped silently.
        f.Post1->trigger();
        QCOMPARE(f.ListView1->model()->rowCount(), 2);
        QCOMPARE(m_fixture->messages.size(), size_t(0));
    }

    void dropOnTheUpperAreaShowsAFolder() {
        TForm1& f = Form();
        const QPoint upper = LowerAreaTop(f) - QPoint(0, 1);
        QVERIFY(DropFiles(f, {Path("tree"), Path("three.bin")}, upper));
        QCOMPARE(f.Edit1->text(), Path("tree") + "/");
        QCOMPARE(Sorted(ColumnTexts(f.ListView3, 0)), QStringList({"sub", "two.bin"}));
        QCOMPARE(f.ListView1->model()->rowCount(), 0);

        // A file dropped there changes nothing.
        QVERIFY(DropFiles(f, {Path("one.txt")}, upper));
        QCOMPARE(f.Edit1->text(), Path("tree") + "/");
        QCOMPARE(f.ListView3->model()->rowCount(), 2);
        QCOMPARE(f.ListView1->model()->rowCount(), 0);
    }

    void dropOnTheLowerAreaRegistersMeasuredItems() {
        TForm1& f = Form();
        QVERIFY(DropFiles(f, {Path("three.bin"), Path("one.txt"), Path("tree")}, LowerAreaTop(f)));
        QCOMPARE(ColumnTexts(f.ListView1, 0), QStringList({"three.bin", "one.txt", "tree"}));
        QCOMPARE(ColumnTexts(f.ListView1, 3), QStringList({"     3", "     1", "     4"}));
        QCOMPARE(ColumnTexts(f.ListView2, 0), QStringList({LongName}));
        QVERIFY2(m_fixture->Status().startsWith(QStringLiteral("クラスタ:8個")),
                 qPrintable(m_fixture->Status()));
        QCOMPARE(m_fixture->messages.size(), size_t(0));
    }

    void addingAndRecalculatingKeepTheUsersSelection() {
        TForm1& f = Form();
        QVERIFY(DropFiles(f, {Path("three.bin"), Path("tree")}, LowerAreaTop(f)));
        SelectOnly(f.ListView1, {1});
        QVERIFY(DropFiles(f, {Path("one.txt")}, LowerAreaTop(f)));
        QCOMPARE(SelectedRows(f.ListView1), std::vector<size_t>{1});
        QVERIFY(Handled(f, [&] { f.ToolButton4->click(); }));
        QCOMPARE(SelectedRows(f.ListView1), std::vector<size_t>{1});

        // So the next Delete removes what the user chose.
        f.ListView1->setFocus();
        QTest::keyClick(f.ListView1, Qt::Key_Delete);
        QCOMPARE(ColumnTexts(f.ListView1, 0), QStringList({"three.bin", "one.txt"}));
    }

    void theFirstDuplicateGetsItsMessageAndTheRestAreCounted() {
        TForm1& f = Form();
        QVERIFY(DropFiles(f, {Path("three.bin"), Path("one.txt")}, LowerAreaTop(f)));
        MakeFile(Path("new.bin"), 10);
        QVERIFY(
            DropFiles(f, {Path("one.txt"), Path("new.bin"), Path("three.bin")}, LowerAreaTop(f)));
        QCOMPARE(ColumnTexts(f.ListView1, 0), QStringList({"three.bin", "one.txt", "new.bin"}));
        QCOMPARE(m_fixture->messages.size(), size_t(2));
        QCOMPARE(m_fixture->messages[0].text, Duplicate);
        QCOMPARE(m_fixture->messages[1].text, QStringLiteral("ほかにも重複が 1 件ありました"));
        for (const RecordedMessage& m : m_fixture->messages)
            QCOMPARE(m.kind, MessageKind::Info);
        // Each drop has its own first duplicate.
        QVERIFY(DropFiles(f, {Path("new.bin")}, LowerAreaTop(f)));
        QCOMPARE(m_fixture->messages.back().text, Duplicate);
    }

    void aDropWhileDraggingOutIsRefusedOnce() {
        TForm1& f = Form();
        f.Workspace().DraggingFromSelf = true;
        QVERIFY(DropFiles(f, {Path("three.bin")}, LowerAreaTop(f)));
        QCOMPARE(m_fixture->messages.size(), size_t(1));
        QCOMPARE(m_fixture->messages[0].text, QStringLiteral("自フォームへのドロップはできません"));
        QCOMPARE(f.ListView1->model()->rowCount(), 0);
        QVERIFY(!f.Workspace().DraggingFromSelf);

        QVERIFY(DropFiles(f, {Path("three.bin")}, LowerAreaTop(f)));
        QCOMPARE(ColumnTexts(f.ListView1, 0), QStringList({"three.bin"}));
        QCOMPARE(m_fixture->messages.size(), size_t(1));
    }

    void onlyLocalFilesAreTaken() {
        TForm1& f = Form();
        QMimeData text;
        text.setText(QStringLiteral("/etc/hostname"));
        QDragEnterEvent enter(QPoint(10, 300), Qt::CopyAction, &text, Qt::LeftButton, {});
        QApplication::sendEvent(&f, &enter);
        QVERIFY(!enter.isAccepted());
    }

    void recalculationAndClearing() {
        TForm1& f = Form();
        QVERIFY(DropFiles(f, {Path("tree"), Path("one.txt")}, LowerAreaTop(f)));
        MakeFile(Path("tree/grown.bin"), 1);
        QVERIFY(Handled(f, [&] { f.ToolButton4->click(); }));
        QCOMPARE(ColumnTexts(f.ListView1, 3), QStringList({"     5", "     1"}));
        QVERIFY(m_fixture->Status().startsWith(QStringLiteral("クラスタ:6個")));

        f.N4->trigger();
        QCOMPARE(f.ListView1->model()->rowCount(), 0);
        QCOMPARE(f.ListView2->model()->rowCount(), 0);
        QCOMPARE(f.ProgressBar1->value(), 0);
        QVERIFY(m_fixture->Status().startsWith(QStringLiteral("クラスタ:0個")));
    }

    void onlyTheDeleteKeysRemoveRows_data() {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QStringList>("left");
        const QStringList all{"three.bin", "one.txt", "tree"};
        QTest::newRow("Shift") << QList<int>{Qt::Key_Shift} << all;
        QTest::newRow("Ctrl") << QList<int>{Qt::Key_Control} << all;
        QTest::newRow("letter") << QList<int>{Qt::Key_X} << all;
        QTest::newRow("Delete") << QList<int>{Qt::Key_Delete} << QStringList{"one.txt"};
        QTest::newRow("Backspace") << QList<int>{Qt::Key_Backspace} << QStringList{"one.txt"};
        // Shift first must not lose the selection that Delete then removes.
        QTest::newRow("Shift, Delete")
            << QList<int>{Qt::Key_Shift, Qt::Key_Delete} << QStringList{"one.txt"};
    }
    void onlyTheDeleteKeysRemoveRows() {
        QFETCH(QList<int>, keys);
        QFETCH(QStringList, left);
        TForm1& f = Form();
        QVERIFY(DropFiles(f, {Path("three.bin"), Path("one.txt"), Path("tree")}, LowerAreaTop(f)));
        SelectOnly(f.ListView1, {0, 2});
        f.ListView1->setFocus();
        for (int key : keys)
            QTest::keyClick(f.ListView1, Qt::Key(key));
        QCOMPARE(ColumnTexts(f.ListView1, 0), left);
        // Long-name rows of deleted items stay.
        QCOMPARE(f.ListView2->model()->rowCount(), 1);
        QVERIFY(m_fixture->Status().startsWith(left.size() == 1 ? QStringLiteral("クラスタ:1個")
                                                                : QStringLiteral("クラスタ:8個")));
    }

    void headerClicksSortBothWaysKeepingTheSelection() {
        TForm1& f = Form();
        QVERIFY(DropFiles(f, {Path("three.bin"), Path("one.txt"), Path("tree")}, LowerAreaTop(f)));
        SelectOnly(f.ListView1, {2});
        const auto selectedName = [&] {
            const std::vector<size_t> rows = SelectedRows(f.ListView1);
            return rows.size() == 1 ? ColumnTexts(f.ListView1, 0).at(int(rows[0])) : QString();
        };

        ClickHeader(f.ListView1, 3); // clusters 3, 1, 4
        QCOMPARE(ColumnTexts(f.ListView1, 0), QStringList({"one.txt", "three.bin", "tree"}));
        QCOMPARE(selectedName(), QStringLiteral("tree"));
        ClickHeader(f.ListView1, 3);
        QCOMPARE(ColumnTexts(f.ListView1, 0), QStringList({"tree", "three.bin", "one.txt"}));
        QCOMPARE(selectedName(), QStringLiteral("tree"));
        ClickHeader(f.ListView1, 0); // its own direction: ascending
        QCOMPARE(ColumnTexts(f.ListView1, 0), QStringList({"one.txt", "three.bin", "tree"}));

        m_fixture->AnswerChooser(m_tree->path());
        QVERIFY(Handled(f, [&] { f.ToolButton2->click(); }));
        ClickHeader(f.ListView3, 2); // bytes on disc
        QCOMPARE(ColumnTexts(f.ListView3, 0), QStringList({"one.txt", "three.bin", "tree"}));
        ClickHeader(f.ListView3, 2);
        QCOMPARE(ColumnTexts(f.ListView3, 0), QStringList({"tree", "three.bin", "one.txt"}));
    }

    void theSelectionAndCurrentRowFollowTheirRows() {
        TForm1& f = Form();
        QVERIFY(DropFiles(f, {Path("three.bin"), Path("one.txt"), Path("tree")}, LowerAreaTop(f)));
        f.ListView1->setFocus();
        ClickRow(f.ListView1, 0);                    // three.bin
        ClickRow(f.ListView1, 2, Qt::ShiftModifier); // to tree, the current row
        const QStringList chosen{"one.txt", "three.bin", "tree"};

        MakeFile(Path("new.bin"), 10);
        QVERIFY(DropFiles(f, {Path("new.bin")}, LowerAreaTop(f)));
        QCOMPARE(SelectedNames(f.ListView1), chosen);
        QCOMPARE(CurrentName(f.ListView1), QStringLiteral("tree"));

        ClickHeader(f.ListView1, 3); // clusters: new.bin 1, one.txt 1, three.bin 3, tree 4
        QCOMPARE(ColumnTexts(f.ListView1, 0),
                 QStringList({"one.txt", "new.bin", "three.bin", "tree"}));
        QCOMPARE(SelectedNames(f.ListView1), chosen);
        QCOMPARE(CurrentName(f.ListView1), QStringLiteral("tree"));
        // The keyboard goes on from the current row.
        QTest::keyClick(f.ListView1, Qt::Key_Up);
        QCOMPARE(CurrentName(f.ListView1), QStringLiteral("three.bin"));

        // Delete removes the selected rows; the current row moves to a row that stays.
        ClickRow(f.ListView1, 1, Qt::ControlModifier);
        QCOMPARE(SelectedNames(f.ListView1), QStringList({"new.bin", "three.bin"}));
        QTest::keyClick(f.ListView1, Qt::Key_Delete);
        QCOMPARE(ColumnTexts(f.ListView1, 0), QStringList({"one.txt", "tree"}));
        QVERIFY(f.ListView1->currentIndex().isValid());
        QCOMPARE(SelectedNames(f.ListView1), QStringList());
    }

private:
    TForm1& Form() { return m_fixture->Form(); }
    QString Path(const QString& name) const { return m_tree->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_tree;
    std::unique_ptr<WindowFixture> m_fixture;
};

QTEST_MAIN(WellCommandsTest)
#include "test_well_commands.moc"
