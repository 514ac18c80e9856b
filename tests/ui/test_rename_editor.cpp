// The rename editor of the long-name list: opening it, the live length read-out and
// colour, Enter renaming on disk with the lists following, failures, and Escape.
#include "support/DropHelpers.h"
#include "support/WindowFixture.h"

#include "window/widgets/AnchoredPanel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ui_test;

namespace {

const QString OldName = QString(66, QLatin1Char('N')) + QStringLiteral(".txt"); // 70 units
const QColor OverLimit(224, 96, 96);

QColor EditorColour(const TForm1& f) {
    return f.Edit2->palette().color(QPalette::Base);
}

QColor WindowColour(const TForm1& f) {
    return QApplication::palette(f.Edit2).color(QPalette::Base);
}

} // namespace

class RenameEditorTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_tree = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tree->isValid());
        MakeFile(Path(OldName), 100);
        MakeFile(Path("taken.txt"), 7);
        m_fixture = std::make_unique<WindowFixture>();
        TForm1& f = Form();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        m_fixture->AnswerChooser(m_tree->path());
        QVERIFY(Handled(f, [&] { f.ToolButton2->click(); }));
        QVERIFY(DropFiles(f, {Path(OldName)}, LowerAreaTop(f)));
        QCOMPARE(ColumnTexts(f.ListView2, 0), QStringList({OldName}));
    }
    void cleanup() { m_fixture.reset(); }

    void doubleClickWithNoRowSelectedLeavesTheEditorClosed() {
        TForm1& f = Form();
        f.ListView2->clearSelection();
        DoubleClick(f.ListView2, QPoint(10, f.ListView2->viewport()->height() - 3));
        QVERIFY(!f.Panel2->isVisible());
        QCOMPARE(f.Edit2->text(), QString());
    }

    void doubleClickOpensTheEditorWithTheName() {
        TForm1& f = Form();
        OpenEditor();
        QVERIFY(f.Panel2->isVisible());
        QCOMPARE(f.Edit2->text(), OldName);
        QCOMPARE(f.focusWidget(), f.Edit2);
        QCOMPARE(f.Edit2->cursorPosition(), 70);
        QVERIFY(!f.Edit2->hasSelectedText());
        QCOMPARE(f.Label3->text(), QStringLiteral("70"));
        QCOMPARE(EditorColour(f), OverLimit);
    }

    void readOutAndColourFollowTheText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("readOut");
        QTest::addColumn<bool>("over");
        QTest::newRow("64") << QString(64, 'a') << "64" << false;
        QTest::newRow("65") << QString(65, 'a') << "65" << true;
        // A character outside the BMP is two UTF-16 units.
        QTest::newRow("63 + non-BMP") << QString(63, 'a') + QStringLiteral("😀") << "65" << true;
        QTest::newRow("62 + non-BMP") << QString(62, 'a') + QStringLiteral("😀") << "64" << false;
        QTest::newRow("empty") << QString() << "0" << false;
    }
    void readOutAndColourFollowTheText() {
        QFETCH(QString, text);
        QFETCH(QString, readOut);
        QFETCH(bool, over);
        TForm1& f = Form();
        OpenEditor();
        f.Edit2->setText(text);
        QCOMPARE(f.Label3->text(), readOut);
        QCOMPARE(EditorColour(f), over ? OverLimit : WindowColour(f));
    }

    void enterRenamesAndTheListsFollow_data() {
        QTest::addColumn<QString>("newName");
        QTest::addColumn<QStringList>("longNamesLeft");
        const QString within = QString(60, 'W') + QStringLiteral(".dat"); // 64 units
        const QString over = QString(61, 'O') + QStringLiteral(".dat");   // 65 units
        QTest::newRow("64 units") << within << QStringList();
        QTest::newRow("65 units") << over << QStringList({over});
    }
    void enterRenamesAndTheListsFollow() {
        QFETCH(QString, newName);
        QFETCH(QStringList, longNamesLeft);
        TForm1& f = Form();
        OpenEditor();
        f.Edit2->setText(newName);
        QTest::keyClick(f.Edit2, Qt::Key_Return);

        QVERIFY(QFile::exists(Path(newName)));
        QVERIFY(!QFile::exists(Path(OldName)));
        QVERIFY(!f.Panel2->isVisible());
        QCOMPARE(f.Edit2->text(), QString());
        QCOMPARE(f.Label3->text(), QStringLiteral("0"));
        QCOMPARE(ColumnTexts(f.ListView2, 0), longNamesLeft);
        if (!longNamesLeft.isEmpty())
            QCOMPARE(ColumnTexts(f.ListView2, 1), QStringList({" 65"}));
        QCOMPARE(ColumnTexts(f.ListView1, 0), QStringList({newName}));
        QCOMPARE(ColumnTexts(f.ListView1, 1), QStringList({".dat"}));
        QVERIFY(ColumnTexts(f.ListView3, 0).contains(newName));
        QVERIFY(!ColumnTexts(f.ListView3, 0).contains(OldName));
        QCOMPARE(m_fixture->messages.size(), size_t(0));
    }

    void theSelectionAndCurrentRowStayOnTheRenamedRows() {
        TForm1& f = Form();
        QVERIFY(DropFiles(f, {Path("taken.txt")}, LowerAreaTop(f)));
        for (QTableView* list : {f.ListView1, f.ListView3}) {
            const int row = int(ColumnTexts(list, 0).indexOf(OldName));
            const QModelIndex index = list->model()->index(row, 0);
            list->scrollTo(index);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                              list->visualRect(index).center());
        }
        OpenEditor();
        const QString newName = QStringLiteral("short.txt");
        f.Edit2->setText(newName);
        QTest::keyClick(f.Edit2, Qt::Key_Return);
        for (QTableView* list : {f.ListView1, f.ListView3}) {
            const QModelIndexList selected = list->selectionModel()->selectedRows();
            QCOMPARE(selected.size(), 1);
            QCOMPARE(selected[0].data().toString(), newName);
            QCOMPARE(list->currentIndex().siblingAtColumn(0).data().toString(), newName);
        }
    }

    void aFailedRenameChangesNothing_data() {
        QTest::addColumn<QString>("newName");
        QTest::newRow("existing sibling") << "taken.txt";
        QTest::newRow("empty") << "";
        QTest::newRow("out of its folder") << "../escaped.txt";
    }
    void aFailedRenameChangesNothing() {
        QFETCH(QString, newName);
        TForm1& f = Form();
        OpenEditor();
        f.Edit2->setText(newName);
        QTest::keyClick(f.Edit2, Qt::Key_Return);

        QCOMPARE(m_fixture->messages.size(), size_t(1));
        QCOMPARE(m_fixture->messages[0].text, QStringLiteral("リネームに失敗しました"));
        QVERIFY(f.Panel2->isVisible());
        QCOMPARE(f.Edit2->text(), newName);
        QVERIFY(QFile::exists(Path(OldName)));
        QCOMPARE(QFileInfo(Path("taken.txt")).size(), 7);
        QCOMPARE(ColumnTexts(f.ListView2, 0), QStringList({OldName}));
        QCOMPARE(ColumnTexts(f.ListView1, 0), QStringList({OldName}));
    }

    // A name whose first byte is not UTF-8: shortening its tail keeps that byte, and what
    // is typed is written as typed.
    void aByteThatIsNotUtf8KeepsItsByte() {
        TForm1& f = Form();
        const std::string folder = m_tree->path().toStdString() + '/';
        const std::string oldName = "\xFE" + std::string(70, 'N') + ".txt";
        const int fd = ::open((folder + oldName).c_str(), O_CREAT | O_WRONLY, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
        const QByteArray uri =
            "file://" + QByteArray::fromStdString(folder + oldName).toPercentEncoding("/") + "\r\n";
        QVERIFY(DropUriList(f, uri, LowerAreaTop(f)));
        QTableView* list = f.ListView2;
        QCOMPARE(list->model()->rowCount(), 2);
        DoubleClick(list, list->visualRect(list->model()->index(1, 0)).center());
        QCOMPARE(f.Edit2->text().size(), 75);
        QCOMPARE(f.Label3->text(), QStringLiteral("75"));
        QTest::keyClick(f.Edit2, Qt::Key_End);
        for (int i = 0; i < 14; ++i)
            QTest::keyClick(f.Edit2, Qt::Key_Backspace);
        QKeyEvent accented(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QStringLiteral("é"));
        QApplication::sendEvent(f.Edit2, &accented);
        QTest::keyClicks(f.Edit2, QStringLiteral(".txt"));
        QTest::keyClick(f.Edit2, Qt::Key_Return);

        const std::string newName = "\xFE" + std::string(60, 'N') + "\xC3\xA9.txt";
        struct stat info {};
        QCOMPARE(::lstat((folder + newName).c_str(), &info), 0);
        QCOMPARE(::lstat((folder + oldName).c_str(), &info), -1);
        QCOMPARE(m_fixture->messages.size(), size_t(0));
    }

    void escapeClosesAndKeepsTheText() {
        TForm1& f = Form();
        OpenEditor();
        f.Edit2->setText(QStringLiteral("draft"));
        QTest::keyClick(f.Edit2, Qt::Key_Escape);
        QVERIFY(!f.Panel2->isVisible());
        QCOMPARE(f.Edit2->text(), QStringLiteral("draft"));
        QVERIFY(QFile::exists(Path(OldName)));

        // Opening again loads the row's name afresh.
        OpenEditor();
        QCOMPARE(f.Edit2->text(), OldName);
    }

    void enterWithNoRowSelectedDoesNothing() {
        TForm1& f = Form();
        OpenEditor();
        f.Edit2->setText(QStringLiteral("short.txt"));
        f.ListView2->clearSelection();
        QTest::keyClick(f.Edit2, Qt::Key_Return);
        QVERIFY(f.Panel2->isVisible());
        QVERIFY(QFile::exists(Path(OldName)));
        QCOMPARE(m_fixture->messages.size(), size_t(0));
    }

private:
    TForm1& Form() { return m_fixture->Form(); }
    QString Path(const QString& name) const { return m_tree->filePath(name); }

    // A user's double click: the first press selects, the second arrives as a double click.
    static void DoubleClick(QTableView* list, QPoint at) {
        QWidget* viewport = list->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, at);
    }

    // Double-clicks the long-name list's first row, as the user opens the editor.
    void OpenEditor() {
        QTableView* list = Form().ListView2;
        DoubleClick(list, list->visualRect(list->model()->index(0, 0)).center());
    }

    std::unique_ptr<QTemporaryDir> m_tree;
    std::unique_ptr<WindowFixture> m_fixture;
};

QTEST_MAIN(RenameEditorTest)
#include "test_rename_editor.moc"
