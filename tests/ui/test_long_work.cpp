// Walks run off the window's thread: the progress display after half a second, Escape
// and closing the window cancel, and a cancelled command changes nothing at all.
#include "support/DropHelpers.h"
#include "support/WindowFixture.h"

#include "StateDump.h"
#include "app/AppearanceSetup.h"
#include "core/base/WorkProgress.h"
#include "window/work/LongWork.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <chrono>
#include <thread>

using namespace ui_test;

namespace {

// A tree of folders with files, one long name among them.
QString MakeTree(const QTemporaryDir& dir, const QString& name) {
    const QString root = dir.filePath(name);
    for (int f = 0; f < 5; ++f) {
        const QString sub = root + QStringLiteral("/sub%1").arg(f);
        QDir().mkpath(sub);
        for (int i = 0; i < 20; ++i)
            MakeFile(sub + QStringLiteral("/f%1.txt").arg(i), 3000);
        MakeFile(sub + QLatin1Char('/') + QString(70, QLatin1Char('n')), 1);
    }
    return root;
}

// Work that runs until it is cancelled, with counts to show.
void UntilCancelled(ketrilo::WorkProgress& progress) {
    progress.EnterFolder("/data/写真/");
    progress.AddFiles(1234567, 9876543210);
    while (!progress.Cancelled())
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    progress.ThrowIfCancelled();
}

QWidget* VisibleDisplay() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("ProgressDisplay") && w->isVisible())
            return w;
    return nullptr;
}

// The window's state that a cancelled command must leave as it was.
QString Snapshot(TForm1& f) {
    return StateDumpText(f.Edit1->text(), f.Workspace(), f.StatusLabel->text(), {}) +
           QString::number(f.ListView3->model()->rowCount()) +
           QString::number(f.ListView1->model()->rowCount()) +
           QString::number(f.ProgressBar1->value()) +
           QString::number(f.Workspace().capacity.RemainingBytes);
}

void PressEscapeOnceRunning(TForm1& f) {
    QCoreApplication::postEvent(f.ListView3,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
}

} // namespace

class LongWorkTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetUpAppearance(); }

    void displayShowsCountsAndEscapeCancels() {
        QWidget window;
        window.show();
        LongWork work(&window);
        QString counts, folder;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            if (QWidget* display = VisibleDisplay()) {
                poll.stop();
                counts = display->findChild<QLabel*>(QStringLiteral("ProgressCounts"))->text();
                folder = display->findChild<QLabel*>(QStringLiteral("ProgressFolder"))->text();
                // Held by the work, not by Qt's modality, which would refuse drops unheard.
                QVERIFY(window.isEnabled() && !display->isModal());
                QTest::keyClick(display, Qt::Key_Escape);
            }
        });
        poll.start(20);
        QTimer::singleShot(30000, [&] { QCoreApplication::exit(); }); // never hang
        QVERIFY(!work.Run(UntilCancelled));
        QCOMPARE(counts, QStringLiteral("ファイル 1,234,567　フォルダ 1　9,876,543,210 バイト"));
        QCOMPARE(folder, QStringLiteral("/data/写真/"));
        QVERIFY(!VisibleDisplay());
        QVERIFY(!work.Running());
    }

    // Input as the window system delivers it: to the display's native window first.
    void itsButtonTakesAClickAndTabWithSpace() {
        QWidget window;
        window.show();
        LongWork work(&window);
        bool byKeys = false;
        bool stuck = false;
        QTimer press;
        connect(&press, &QTimer::timeout, [&] {
            QWidget* display = VisibleDisplay();
            if (display == nullptr || !display->isActiveWindow())
                return;
            press.stop();
            QWindow* native = display->windowHandle();
            auto* cancel = display->findChild<QPushButton*>(QStringLiteral("ProgressCancel"));
            if (byKeys) {
                QTest::keyClick(native, Qt::Key_Tab);
                QTest::keyClick(native, Qt::Key_Space);
            } else {
                QTest::mouseClick(native, Qt::LeftButton, {},
                                  cancel->mapTo(display, cancel->rect().center()));
            }
        });
        QTimer neverHang;
        neverHang.setSingleShot(true);
        connect(&neverHang, &QTimer::timeout, [&] {
            stuck = true;
            work.CloseWindowAfterwards();
        });
        for (bool keys : {false, true}) {
            byKeys = keys;
            press.start(20);
            neverHang.start(30000);
            QVERIFY(!work.Run(UntilCancelled));
            QVERIFY2(!stuck, keys ? "Tab and Space did not cancel" : "the click did not cancel");
        }
    }

    void finishesAndPassesErrorsOn() {
        QWidget window;
        LongWork work(&window);
        QVERIFY(work.Run([](ketrilo::WorkProgress&) {}));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, work.Run([](ketrilo::WorkProgress&) {
            throw std::runtime_error("disk gone");
        }));
    }

    void cancelledCommandsChangeNothing() {
        QTemporaryDir dir;
        WindowFixture fx;
        TForm1& f = fx.Form();
        f.show();
        const QString first = MakeTree(dir, QStringLiteral("first"));
        const QString second = MakeTree(dir, QStringLiteral("second"));
        fx.AnswerChooser(first);
        f.ToolButton2->click();
        QVERIFY(DropFiles(f, {first + QStringLiteral("/sub0")}, LowerAreaTop(f)));
        QCOMPARE(f.Workspace().well.Size(), size_t{1});
        MakeFile(first + QStringLiteral("/sub0/new.bin"), 5000); // a recalculation would see it
        const QString before = Snapshot(f);

        fx.AnswerChooser(second);
        PressEscapeOnceRunning(f);
        f.ToolButton2->click();
        QCOMPARE(Snapshot(f), before);
        PressEscapeOnceRunning(f);
        f.ToolButton3->click();
        QCOMPARE(Snapshot(f), before);
        PressEscapeOnceRunning(f);
        f.ToolButton4->click();
        QCOMPARE(Snapshot(f), before);
        PressEscapeOnceRunning(f);
        f.WMDropFiles({second.toStdString()}, LowerAreaTop(f));
        QCOMPARE(Snapshot(f), before);
        PressEscapeOnceRunning(f);
        f.WMDropFiles({second.toStdString()}, f.mapToGlobal(QPoint(10, 10)));
        QCOMPARE(Snapshot(f), before);
        QVERIFY(fx.messages.empty());

        // Without Escape the same commands finish with their whole result.
        f.ToolButton4->click();
        QVERIFY(Snapshot(f) != before);
        f.WMDropFiles({second.toStdString()}, LowerAreaTop(f));
        QCOMPARE(f.Workspace().well.Size(), size_t{2});
        QCOMPARE(f.Workspace().longNames.Size(), size_t{6});
    }

    void closingTheWindowStopsTheWalk() {
        QTemporaryDir dir;
        WindowFixture fx;
        TForm1& f = fx.Form();
        f.show();
        fx.AnswerChooser(MakeTree(dir, QStringLiteral("tree")));
        QCoreApplication::postEvent(&f, new QCloseEvent);
        f.ToolButton2->click();
        QVERIFY(f.Workspace().folderList.rows.empty());
        QVERIFY(f.Edit1->text().isEmpty());
        QTRY_VERIFY(!f.isVisible());
    }
};

QTEST_MAIN(LongWorkTest)

#include "test_long_work.moc"
