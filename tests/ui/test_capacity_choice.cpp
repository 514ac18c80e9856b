// The disc profile choice through the real ComboBox1, the gauge, the status line and
// the errors that reach the error box.
#include "support/WindowFixture.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace ui_test;

namespace {

const QString StartStatus =
    QStringLiteral("クラスタ:0個 サイズ:0バイト(0%) 残り容量:4,707,319,808バイト");

// The profile file of the worked example, with a few awkward entries behind it.
const QString ExampleProfile = QStringLiteral("[setting]\nItems=8\n"
                                              "[Item01]\nName=Disc A\nCount=333000\n"
                                              "[Item02]\nName=Disc B\nCount=360000\n"
                                              "[Item03]\nName=Disc C\nCount=2298496\n"
                                              "[Item04]\nCount=12345\n"
                                              "[Item05]\nName=Bad\nCount=4000MB\n"
                                              "[Item06]\nName=Zero\nCount=0\n"
                                              "[Item07]\nName=Minus\nCount=-1\n"
                                              "[Item08]\nName=Tiny\nCount=$10\n");

QString RemainingOf(const QString& status) {
    return status.mid(status.indexOf(QStringLiteral("残り容量:")));
}

// The user picks entry index from the drop-down list.
void ChooseFromList(QComboBox* combo, int index) {
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    QTRY_VERIFY(list->isVisible());
    const QRect item = list->visualRect(list->model()->index(index, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    QTRY_VERIFY(!list->isVisible());
}

} // namespace

class CapacityChoiceTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        m_fixture = std::make_unique<WindowFixture>(WriteProfile(m_dir.path(), ExampleProfile));
        m_fixture->Form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_fixture->Form()));
    }
    void cleanup() { m_fixture.reset(); }

    void startsEmptyWithoutAProfileFile() {
        WindowFixture bare;
        QCOMPARE(bare.Form().ComboBox1->count(), 0);
        QCOMPARE(bare.Form().ComboBox1->currentText(), QString());
        QCOMPARE(bare.Status(), StartStatus);
        QCOMPARE(bare.Form().ProgressBar1->value(), 0);
        QVERIFY(bare.messages.empty());
    }

    void showsTheFirstProfileButKeepsTheDefaultCapacity() {
        TForm1& f = m_fixture->Form();
        QCOMPARE(f.ComboBox1->count(), 8);
        QCOMPARE(f.ComboBox1->itemText(3), QStringLiteral("-"));
        QCOMPARE(f.ComboBox1->currentText(), QStringLiteral("Disc A"));
        QCOMPARE(m_fixture->Status(), StartStatus);
        QCOMPARE(f.Workspace().capacity.DiscCapacityClusters, 2298496);
        QTest::qWait(0); // nothing queued by the start-up selection
        QCOMPARE(m_fixture->Status(), StartStatus);
        QVERIFY(m_fixture->messages.empty());
    }

    void choosingAProfileSetsItsCapacity_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("remaining");
        QTest::newRow("Disc A, already shown") << 0 << "残り容量:681,984,000バイト";
        QTest::newRow("Disc B") << 1 << "残り容量:737,280,000バイト";
        QTest::newRow("unnamed profile") << 3 << "残り容量:25,282,560バイト";
        QTest::newRow("hex count") << 7 << "残り容量:32,768バイト";
        QTest::newRow("negative count") << 6 << "残り容量:-2,048バイト";
    }
    void choosingAProfileSetsItsCapacity() {
        QFETCH(int, entry);
        QFETCH(QString, remaining);
        ChooseFromList(m_fixture->Form().ComboBox1, entry);
        QTRY_COMPARE(RemainingOf(m_fixture->Status()), remaining);
        QVERIFY(m_fixture->messages.empty());
        QCOMPARE(m_fixture->Form().ProgressBar1->value(), 0);
    }

    void errorsReachTheErrorBoxAndKeepTheStatus_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("message");
        QTest::newRow("not a number: a full stop follows")
            << 4 << "''4000MB'' は整数ではありません.";
        QTest::newRow("capacity 0 with an empty well") << 5 << "不正な浮動小数点数演算命令.";
    }
    void errorsReachTheErrorBoxAndKeepTheStatus() {
        QFETCH(int, entry);
        QFETCH(QString, message);
        TForm1& f = m_fixture->Form();
        ChooseFromList(f.ComboBox1, 1); // Disc B in force
        QTRY_COMPARE(RemainingOf(m_fixture->Status()),
                     QStringLiteral("残り容量:737,280,000バイト"));
        const int64_t remainingBytes = f.Workspace().capacity.RemainingBytes;

        ChooseFromList(f.ComboBox1, entry);
        QTRY_COMPARE(m_fixture->messages.size(), size_t(1));
        QCOMPARE(m_fixture->messages[0].kind, MessageKind::Error);
        QCOMPARE(m_fixture->messages[0].text, message);
        QCOMPARE(RemainingOf(m_fixture->Status()), QStringLiteral("残り容量:737,280,000バイト"));
        QCOMPARE(f.Workspace().capacity.RemainingBytes, remainingBytes);
        QCOMPARE(f.ComboBox1->currentIndex(), entry); // the chooser shows the new name
    }

    void capacityZeroWithAFilledWell() {
        TForm1& f = m_fixture->Form();
        f.Workspace().well.Append({"x", "", 4096, 2, "/tmp/", 0});
        ChooseFromList(f.ComboBox1, 0);
        QTRY_COMPARE(
            m_fixture->Status(),
            QStringLiteral("クラスタ:2個 サイズ:4,096バイト(0%) 残り容量:681,979,904バイト"));
        ChooseFromList(f.ComboBox1, 5);
        QTRY_COMPARE(m_fixture->messages.size(), size_t(1));
        QCOMPARE(m_fixture->messages[0].text, QStringLiteral("0 による浮動小数点数除算."));
        QVERIFY(m_fixture->Status().endsWith(QStringLiteral("681,979,904バイト")));
        // Every update fails until another profile is chosen.
        QVERIFY_THROWS_EXCEPTION(std::exception, f.UpdateCapacityStatus());
        ChooseFromList(f.ComboBox1, 7);
        QTRY_VERIFY(m_fixture->Status().endsWith(QStringLiteral("残り容量:28,672バイト")));
        QCOMPARE(f.ProgressBar1->value(), 12);
        // Clearing the well empties the gauge even where the status cannot be computed.
        ChooseFromList(f.ComboBox1, 5);
        QTRY_COMPARE(m_fixture->messages.size(), size_t(2));
        f.N4->trigger();
        QCOMPARE(m_fixture->messages.size(), size_t(3));
        QCOMPARE(f.ListView1->model()->rowCount(), 0);
        QCOMPARE(f.ProgressBar1->value(), 0);
    }

    void gaugeStaysInItsRange() {
        TForm1& f = m_fixture->Form();
        f.Workspace().well.Append({"big", "", 40960, 20, "/tmp/", 0});
        ChooseFromList(f.ComboBox1, 7); // 16 clusters: 125 %
        QTRY_COMPARE(
            m_fixture->Status(),
            QStringLiteral("クラスタ:20個 サイズ:40,960バイト(125%) 残り容量:-8,192バイト"));
        QCOMPARE(f.ProgressBar1->value(), 100);
        ChooseFromList(f.ComboBox1, 6); // -1 cluster: a negative percentage
        QTRY_VERIFY(m_fixture->Status().contains(QStringLiteral("(-2000%)")));
        QCOMPARE(f.ProgressBar1->value(), 0);
        ChooseFromList(f.ComboBox1, 2);
        QTRY_VERIFY(m_fixture->Status().contains(QStringLiteral("(0%)")));
        QCOMPARE(f.ProgressBar1->value(), 0);
    }

    void typingRunsTheHandlerForEachChange() {
        TForm1& f = m_fixture->Form();
        ChooseFromList(f.ComboBox1, 0);
        QTRY_COMPARE(RemainingOf(m_fixture->Status()),
                     QStringLiteral("残り容量:681,984,000バイト"));
        f.ComboBox1->lineEdit()->setFocus();
        // Each typed character changes the text and matches no entry: one error each.
        QTest::keyClick(f.ComboBox1->lineEdit(), Qt::Key_X);
        QTRY_COMPARE(m_fixture->messages.size(), size_t(1));
        QTest::keyClick(f.ComboBox1->lineEdit(), Qt::Key_Y);
        QTRY_COMPARE(m_fixture->messages.size(), size_t(2));
        for (const RecordedMessage& m : m_fixture->messages)
            QCOMPARE(m.text, QStringLiteral("リストのインデックスが範囲を超えています (-1)"));
        QCOMPARE(f.ComboBox1->count(), 8); // typing adds no entry
        QCOMPARE(RemainingOf(m_fixture->Status()), QStringLiteral("残り容量:681,984,000バイト"));
        QCOMPARE(f.Workspace().capacity.DiscCapacityClusters, 333000);

        // Back to an entry through the list: one run, that entry's capacity.
        ChooseFromList(f.ComboBox1, 0);
        QTest::qWait(0);
        QCOMPARE(m_fixture->messages.size(), size_t(2));
        QCOMPARE(f.ComboBox1->currentText(), QStringLiteral("Disc A"));
        QCOMPARE(f.ComboBox1ItemIndex(), 0);
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<WindowFixture> m_fixture;
};

QTEST_MAIN(CapacityChoiceTest)
#include "test_capacity_choice.moc"
