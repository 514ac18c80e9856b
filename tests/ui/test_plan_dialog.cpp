// The spanning plan as the user drives it: the menu entry, the dialog's disc rows and
// items, one disc taken into the well with the gauge and status following, and a cancel
// during the computation that changes nothing.
#include "../core/ModelImage.h"
#include "support/WaitingImage.h"
#include "support/WindowFixture.h"
#include "window/work/ProgressDisplay.h"

#include "core/workspace/Registration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace ui_test;

class PlanDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_tree = std::make_unique<QTemporaryDir>();
        QDir(m_tree->path()).mkpath(QStringLiteral("a"));
        for (int i = 0; i < 3; ++i)
            MakeFile(Path(QStringLiteral("a/f%1").arg(i)), 80 * 2048);
        MakeFile(Path(QStringLiteral("b")), 90 * 2048);
        MakeFile(Path(QStringLiteral("c")), 70 * 2048);
        m_fixture = std::make_unique<WindowFixture>();
        TForm1& f = m_fixture->Form();
        f.show();
        f.Workspace().capacity.DiscCapacityClusters = 200;
        ketrilo::Changes changes = ketrilo::RegisterDroppedPaths(
            f.Workspace(), {Std("a"), Std("b"), Std("c")}, f.ImageList1, [](const std::string&) {});
        changes.capacity = true;
        f.ShowChanges(changes);
    }
    void cleanup() { m_fixture.reset(); }

    void takesTheSecondDiscIntoTheWell() {
        TForm1& f = m_fixture->Form();
        f.SetPlanImage(std::make_unique<ketrilo::test::ModelImage>());
        QVERIFY(Handled(f, [&] { f.PlanDiscs1->trigger(); }));
        PlanDialog* dialog = f.CurrentPlanDialog();
        QVERIFY(dialog != nullptr);
        QVERIFY(dialog->isVisible());
        QVERIFY(m_fixture->messages.empty());
        QCOMPARE(dialog->Discs->rowCount(), 3); // 490 sectors over 200
        QVERIFY(dialog->Summary->text().startsWith(QStringLiteral("ディスク 3 枚（下限 3 枚）")));

        dialog->Discs->selectRow(1);
        QStringList shown;
        for (int i = 0; i < dialog->Items->rowCount(); ++i)
            shown << dialog->Items->item(i, 2)->text();
        const QString clusters = dialog->Discs->item(1, 2)->text();
        QVERIFY(dialog->Discs->item(1, 4)->text().endsWith(QLatin1Char('%')));
        QVERIFY(Handled(f, [&] { QTest::mouseClick(dialog->LoadButton, Qt::LeftButton); }));
        QTRY_COMPARE(f.Workspace().well.Size(), size_t(shown.size()));

        QStringList well;
        for (const ketrilo::WellRow& row : f.Workspace().well.Rows())
            well << QString::fromStdString(row.FullPath());
        QCOMPARE(well, shown);
        QVERIFY2(m_fixture->Status().startsWith(QStringLiteral("クラスタ:%1個").arg(clusters)),
                 qPrintable(m_fixture->Status()));
        QCOMPARE(f.ProgressBar1->value(), clusters.toInt() * 100 / 200);
    }

    // Taking the plan's own discs in keeps it; a change of the well or of the disc makes
    // it stale: the dialog says so and loads nothing more.
    void aChangedWellOrDiscLeavesThePlanStale() {
        TForm1& f = m_fixture->Form();
        f.SetPlanImage(std::make_unique<ketrilo::test::ModelImage>());
        QVERIFY(Handled(f, [&] { f.PlanDiscs1->trigger(); }));
        PlanDialog* dialog = f.CurrentPlanDialog();
        QVERIFY(dialog != nullptr);
        dialog->Discs->selectRow(1);
        QVERIFY(Handled(f, [&] { QTest::mouseClick(dialog->LoadButton, Qt::LeftButton); }));
        QTRY_VERIFY(f.Workspace().well.Size() > 0);
        QVERIFY(!dialog->Stale());
        dialog->Discs->selectRow(0);
        QVERIFY(dialog->LoadButton->isEnabled());

        f.ToolButton5Click(); // the user empties the well
        QVERIFY(dialog->Stale());
        QVERIFY(dialog->StaleNote->isVisibleTo(dialog));
        QVERIFY(!dialog->LoadButton->isEnabled());
        dialog->Discs->selectRow(2);
        QVERIFY(!dialog->LoadButton->isEnabled()); // another row does not bring it back
        QTest::mouseClick(dialog->LoadButton, Qt::LeftButton);
        QTest::qWait(0);
        QCOMPARE(f.Workspace().well.Size(), size_t(0));

        // A new plan, then another disc in force.
        ketrilo::Changes changes = ketrilo::RegisterDroppedPaths(
            f.Workspace(), {Std("a"), Std("b"), Std("c")}, f.ImageList1, [](const std::string&) {});
        f.ShowChanges(changes);
        QVERIFY(Handled(f, [&] { f.PlanDiscs1->trigger(); }));
        dialog = f.CurrentPlanDialog();
        QVERIFY(!dialog->Stale());
        f.Workspace().capacity.DiscCapacityClusters = 300;
        ketrilo::Changes disc;
        disc.capacity = true;
        f.ShowChanges(disc);
        QVERIFY(dialog->Stale());
        QVERIFY(m_fixture->messages.empty());
    }

    // An item gone from the disk since the plan is named, and the well stays as it was.
    void aVanishedItemIsNamedAndNothingLoads() {
        TForm1& f = m_fixture->Form();
        f.SetPlanImage(std::make_unique<ketrilo::test::ModelImage>());
        QVERIFY(Handled(f, [&] { f.PlanDiscs1->trigger(); }));
        PlanDialog* dialog = f.CurrentPlanDialog();
        dialog->Discs->selectRow(0);
        const QString first = dialog->Items->item(0, 2)->text();
        QVERIFY(QFileInfo(first).isDir() ? QDir(first).removeRecursively() : QFile::remove(first));
        QVERIFY(!QFileInfo::exists(first));
        const size_t before = f.Workspace().well.Size();
        QVERIFY(Handled(f, [&] { QTest::mouseClick(dialog->LoadButton, Qt::LeftButton); }));
        QTRY_COMPARE(m_fixture->messages.size(), size_t(1));
        QVERIFY2(m_fixture->messages.front().text.contains(first),
                 qPrintable(m_fixture->messages.front().text));
        QCOMPARE(f.Workspace().well.Size(), before);
    }

    void cancellingChangesNothing() {
        TForm1& f = m_fixture->Form();
        f.SetPlanImage(std::make_unique<WaitingImage>());
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&f] {
            // The user presses the display's cancel button.
            if (auto* progress = f.findChild<ProgressDisplay*>(); progress && progress->isVisible())
                progress->findChild<QPushButton*>()->click();
        });
        poll.start(50);
        const size_t before = f.Workspace().well.Size();
        QVERIFY(Handled(f, [&] { f.PlanDiscs1->trigger(); }));
        QVERIFY(f.CurrentPlanDialog() == nullptr);
        QCOMPARE(f.Workspace().well.Size(), before);
        QVERIFY(m_fixture->messages.empty());
    }

private:
    QString Path(const QString& relative) const { return m_tree->path() + "/" + relative; }
    std::string Std(const QString& relative) const { return Path(relative).toStdString(); }

    std::unique_ptr<QTemporaryDir> m_tree;
    std::unique_ptr<WindowFixture> m_fixture;
};

QTEST_MAIN(PlanDialogTest)
#include "test_plan_dialog.moc"
