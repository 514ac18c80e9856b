// The drag-out from the drag handle, with the drag itself replaced by a recorder: what
// starts a drag, the paths handed over, the missing-path error, and the self-drag flag.
#include "support/DropHelpers.h"
#include "support/WindowFixture.h"

#include "window/widgets/DragHandle.h"

#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <functional>

using namespace ui_test;

namespace {

const QString SelfDrop = QStringLiteral("自フォームへのドロップはできません");

class RecordingDrag final : public DragOutSeam {
public:
    void RunCopyDrag(QWidget* source, const std::vector<std::string>& paths) override {
        sources.push_back(source);
        drags.push_back(paths);
        if (duringDrag)
            duringDrag();
    }

    std::vector<QWidget*> sources;
    std::vector<std::vector<std::string>> drags;
    std::function<void()> duringDrag;
};

} // namespace

class DragOutTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_tree = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tree->isValid());
        MakeFile(Path("big.bin"), 5000); // 3 clusters
        MakeFile(Path("small.bin"), 1);  // 1 cluster
        MakeFile(Path("mid.bin"), 3000); // 2 clusters
        MakeFile(Path("later.bin"), 10);
        m_fixture = std::make_unique<WindowFixture>();
        TForm1& f = Form();
        auto drag = std::make_unique<RecordingDrag>();
        m_drag = drag.get();
        f.SetDragOut(std::move(drag));
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QVERIFY(
            DropFiles(f, {Path("big.bin"), Path("small.bin"), Path("mid.bin")}, LowerAreaTop(f)));
        QCOMPARE(f.ListView1->model()->rowCount(), 3);
    }
    void cleanup() { m_fixture.reset(); }

    void aMoveOfFivePixelsHandsOverTheWellInDisplayOrder() {
        TForm1& f = Form();
        f.ListView1ColumnClick(3); // by clusters: small, mid, big
        QTest::mousePress(f.Image1, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QTest::mouseMove(f.Image1, QPoint(14, 14));
        QCOMPARE(m_drag->drags.size(), size_t(0));
        QTest::mouseMove(f.Image1, QPoint(15, 10));
        QCOMPARE(m_drag->drags.size(), size_t(1));
        const std::vector<std::string> expected{Bytes("small.bin"), Bytes("mid.bin"),
                                                Bytes("big.bin")};
        QVERIFY(m_drag->drags[0] == expected);
        QCOMPARE(m_drag->sources[0], static_cast<QWidget*>(f.Image1));

        // The drag used up the press: moving on with the button held starts nothing.
        QTest::mouseMove(f.Image1, QPoint(40, 40));
        QTest::mouseRelease(f.Image1, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
        QCOMPARE(m_drag->drags.size(), size_t(1));
        QCOMPARE(f.ListView1->model()->rowCount(), 3);
        QCOMPARE(m_fixture->messages.size(), size_t(0));
    }

    void otherButtonsAndAnEmptyWellStartNothing() {
        TForm1& f = Form();
        for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
            QTest::mousePress(f.Image1, button, Qt::NoModifier, QPoint(10, 10));
            QTest::mouseMove(f.Image1, QPoint(20, 20));
            QTest::mouseRelease(f.Image1, button, Qt::NoModifier, QPoint(20, 20));
        }
        f.ToolButton5->click();
        QTest::mousePress(f.Image1, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QTest::mouseMove(f.Image1, QPoint(20, 20));
        QTest::mouseRelease(f.Image1, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        QCOMPARE(m_drag->drags.size(), size_t(0));
    }

    void aMissingPathFailsOncePerPressAndDragsNothing() {
        TForm1& f = Form();
        QVERIFY(QFile::remove(Path("mid.bin")));
        QTest::mousePress(f.Image1, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QTest::mouseMove(f.Image1, QPoint(10, 20));
        QTest::mouseMove(f.Image1, QPoint(10, 30));
        QTest::mouseRelease(f.Image1, Qt::LeftButton, Qt::NoModifier, QPoint(10, 30));
        QCOMPARE(m_drag->drags.size(), size_t(0));
        QCOMPARE(m_fixture->messages.size(), size_t(1));
        QCOMPARE(m_fixture->messages[0].kind, MessageKind::Error);
        QCOMPARE(m_fixture->messages[0].text,
                 Path("mid.bin") + QStringLiteral(": ファイルまたはフォルダがありません."));
        QVERIFY(!f.Workspace().DraggingFromSelf);
        QCOMPARE(f.ListView1->model()->rowCount(), 3);
    }

    void aDropOfTheDragOnTheWindowIsRefusedAndTheNextIsTaken_data() {
        QTest::addColumn<bool>("handledDuringDrag");
        QTest::newRow("handled after the drag") << false;
        QTest::newRow("handled during the drag") << true;
    }
    void aDropOfTheDragOnTheWindowIsRefusedAndTheNextIsTaken() {
        QFETCH(bool, handledDuringDrag);
        TForm1& f = Form();
        m_drag->duringDrag = [&] {
            QVERIFY(f.Workspace().DraggingFromSelf);
            QVERIFY(SendDrop(f, {Path("big.bin"), Path("small.bin")}, LowerAreaTop(f)));
            if (handledDuringDrag)
                QCoreApplication::processEvents();
        };
        StartDrag();
        QCoreApplication::processEvents();
        QCOMPARE(m_drag->drags.size(), size_t(1));
        QCOMPARE(m_fixture->messages.size(), size_t(1));
        QCOMPARE(m_fixture->messages[0].text, SelfDrop);
        QCOMPARE(f.ListView1->model()->rowCount(), 3);
        QVERIFY(!f.Workspace().DraggingFromSelf);

        QVERIFY(DropFiles(f, {Path("later.bin")}, LowerAreaTop(f)));
        QCOMPARE(f.ListView1->model()->rowCount(), 4);
        QCOMPARE(m_fixture->messages.size(), size_t(1));
    }

    void afterADragThatEndedElsewhereTheNextDropIsTaken() {
        TForm1& f = Form();
        StartDrag();
        StartDrag();
        QCoreApplication::processEvents();
        QCOMPARE(m_drag->drags.size(), size_t(2));
        QVERIFY(DropFiles(f, {Path("later.bin")}, LowerAreaTop(f)));
        QCOMPARE(f.ListView1->model()->rowCount(), 4);
        QCOMPARE(m_fixture->messages.size(), size_t(0));
    }

private:
    TForm1& Form() { return m_fixture->Form(); }
    QString Path(const QString& name) const { return m_tree->filePath(name); }
    std::string Bytes(const QString& name) const {
        return QFile::encodeName(Path(name)).toStdString();
    }

    void StartDrag() {
        DragHandle* handle = Form().Image1;
        QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QTest::mouseMove(handle, QPoint(20, 10));
        QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    }

    std::unique_ptr<QTemporaryDir> m_tree;
    std::unique_ptr<WindowFixture> m_fixture;
    RecordingDrag* m_drag = nullptr;
};

QTEST_MAIN(DragOutTest)
#include "test_drag_out.moc"
