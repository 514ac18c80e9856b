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

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
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

// Runs work through a LongWork of window and waits (half a minute at most) for its
// continuation; returns how the work ended, or nothing when it did not end in time.
std::optional<WorkEnding> RunToTheEnd(LongWork& work, const LongWork::Work& what) {
    std::optional<WorkEnding> ending;
    work.Run(what, [&](const WorkEnding& end) { ending = end; });
    if (!QTest::qWaitFor([&] { return ending.has_value(); }, 30000))
        return std::nullopt;
    return ending;
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
        const std::optional<WorkEnding> ending = RunToTheEnd(work, UntilCancelled);
        QVERIFY(ending.has_value());
        QVERIFY(!ending->Finished());
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
        for (bool keys : {false, true}) {
            byKeys = keys;
            press.start(20);
            const std::optional<WorkEnding> ending = RunToTheEnd(work, UntilCancelled);
            QVERIFY2(ending.has_value(),
                     keys ? "Tab and Space did not cancel" : "the click did not cancel");
            QVERIFY(!ending->Finished());
        }
    }

    void finishesAndPassesErrorsOn() {
        QWidget window;
        LongWork work(&window);
        const std::optional<WorkEnding> finished = RunToTheEnd(work, [](ketrilo::WorkProgress&) {});
        QVERIFY(finished.has_value());
        QVERIFY(finished->Finished());
        const std::optional<WorkEnding> failed = RunToTheEnd(
            work, [](ketrilo::WorkProgress&) { throw std::runtime_error("disk gone"); });
        QVERIFY(failed.has_value());
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, (void)failed->Finished());
    }

    // Work asked for while other work runs starts once that has ended and its
    // continuation has run, never beside it.
    void workAskedForMeanwhileWaitsItsTurn() {
        QWidget window;
        LongWork work(&window);
        QStringList order;
        std::atomic<bool> firstRunning = false;
        std::atomic<bool> overlapped = false;
        work.Run(
            [&](ketrilo::WorkProgress&) {
                firstRunning = true;
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                firstRunning = false;
            },
            [&](const WorkEnding& ending) {
                order << QStringLiteral("first %1").arg(ending.Finished());
            });
        work.Run([&](ketrilo::WorkProgress&) { overlapped = firstRunning.load(); },
                 [&](const WorkEnding& ending) {
                     order << QStringLiteral("second %1").arg(ending.Finished());
                 });
        QTRY_COMPARE_WITH_TIMEOUT(order.size(), 2, 30000);
        QCOMPARE(order, QStringList({QStringLiteral("first 1"), QStringLiteral("second 1")}));
        QVERIFY(!overlapped);
        QVERIFY(!work.Running());
    }

    // The handler returns as soon as the walk has started: a queued call that changes the
    // workspace runs after it, not inside it, and the handler counts as ended once, when
    // its result is in.
    void theHandlerReturnsWhileTheWalkRuns() {
        QTemporaryDir dir;
        WindowFixture fx;
        TForm1& f = fx.Form();
        f.Edit1->setText(MakeTree(dir, QStringLiteral("tree")));
        const int64_t before = f.HandlersEnded();
        bool inHandler = false;
        bool clearedInHandler = false;
        QMetaObject::invokeMethod(
            &f,
            [&] {
                clearedInHandler = inHandler;
                f.Run([&] { f.ToolButton5Click(); });
            },
            Qt::QueuedConnection);
        inHandler = true;
        f.ToolButton3->click();
        inHandler = false;
        QVERIFY(!clearedInHandler);
        QCOMPARE(f.HandlersEnded(), before);
        QVERIFY(f.Workspace().folderList.rows.empty());
        QVERIFY(HandledAfter(f, before + 1)); // the well cleared, then the listing taken
        QCOMPARE(f.HandlersEnded(), before + 2);
        QVERIFY(!clearedInHandler);
        QCOMPARE(f.Workspace().folderList.rows.size(), size_t{5});
        QVERIFY(fx.messages.empty());
    }

    void cancelledCommandsChangeNothing() {
        QTemporaryDir dir;
        WindowFixture fx;
        TForm1& f = fx.Form();
        f.show();
        const QString first = MakeTree(dir, QStringLiteral("first"));
        const QString second = MakeTree(dir, QStringLiteral("second"));
        fx.AnswerChooser(first);
        QVERIFY(Handled(f, [&] { f.ToolButton2->click(); }));
        QVERIFY(DropFiles(f, {first + QStringLiteral("/sub0")}, LowerAreaTop(f)));
        QCOMPARE(f.Workspace().well.Size(), size_t{1});
        MakeFile(first + QStringLiteral("/sub0/new.bin"), 5000); // a recalculation would see it
        const QString before = Snapshot(f);

        // Each command, cancelled: Escape waits in the queue until the walk has started.
        const auto cancelled = [&](const std::function<void()>& command) {
            return Handled(f, [&] {
                PressEscapeOnceRunning(f);
                command();
            });
        };
        fx.AnswerChooser(second);
        QVERIFY(cancelled([&] { f.ToolButton2->click(); }));
        QCOMPARE(Snapshot(f), before);
        QVERIFY(cancelled([&] { f.ToolButton3->click(); }));
        QCOMPARE(Snapshot(f), before);
        QVERIFY(cancelled([&] { f.ToolButton4->click(); }));
        QCOMPARE(Snapshot(f), before);
        QVERIFY(cancelled([&] { f.WMDropFiles({second.toStdString()}, LowerAreaTop(f)); }));
        QCOMPARE(Snapshot(f), before);
        QVERIFY(cancelled(
            [&] { f.WMDropFiles({second.toStdString()}, f.mapToGlobal(QPoint(10, 10))); }));
        QCOMPARE(Snapshot(f), before);
        QVERIFY(fx.messages.empty());

        // Without Escape the same commands finish with their whole result.
        QVERIFY(Handled(f, [&] { f.ToolButton4->click(); }));
        QVERIFY(Snapshot(f) != before);
        QVERIFY(Handled(f, [&] { f.WMDropFiles({second.toStdString()}, LowerAreaTop(f)); }));
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
        QVERIFY(Handled(f, [&] { f.ToolButton2->click(); }));
        QVERIFY(f.Workspace().folderList.rows.empty());
        QVERIFY(f.Edit1->text().isEmpty());
        QTRY_VERIFY(!f.isVisible());
    }
};

QTEST_MAIN(LongWorkTest)

#include "test_long_work.moc"
