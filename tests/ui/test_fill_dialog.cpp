// Filling the disc as the user drives it: the menu entry, the dialog's rows and figures,
// "ウェルに追加" registering the rows as the register button would, and both cancels
// (in the dialog, and during the search) changing nothing.
#include "../core/ModelImage.h"
#include "support/WaitingImage.h"
#include "support/WindowFixture.h"
#include "window/dialogs/FillDialog.h"
#include "window/work/ProgressDisplay.h"

#include "core/workspace/Registration.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

using namespace ui_test;

namespace {

const QString LongName = QString(65, QLatin1Char('c'));

struct WellSnapshot {
    std::vector<std::string> well, longNames;
    bool operator==(const WellSnapshot&) const = default;
};

WellSnapshot Snapshot(const ketrilo::Workspace& ws) {
    WellSnapshot s;
    for (const ketrilo::WellRow& row : ws.well.Rows())
        s.well.push_back(row.FullPath() + " " + std::to_string(row.bytes) + " " +
                         std::to_string(row.clusters) + " " + std::to_string(row.icon));
    for (const ketrilo::LongNameRow& row : ws.longNames.Rows())
        s.longNames.push_back(row.FullPath() + " " + std::to_string(row.length));
    return s;
}

size_t RowNamed(const ketrilo::Workspace& ws, const QString& name) {
    const auto& rows = ws.folderList.rows;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].name == name.toStdString())
            return i;
    return rows.size();
}

} // namespace

class FillDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_tree = std::make_unique<QTemporaryDir>();
        // 200 sectors: the model image's 30, "e" in the well and a sector of records
        // leave 159, which "a" and the long-named file fill best (150).
        MakeFile(Path(QStringLiteral("a")), 80 * 2048);
        MakeFile(Path(QStringLiteral("b")), 90 * 2048);
        MakeFile(Path(LongName), 70 * 2048);
        MakeFile(Path(QStringLiteral("d")), 30 * 2048);
        MakeFile(Path(QStringLiteral("e")), 10 * 2048);
        MakeFile(Path(QStringLiteral("huge")), 500 * 2048);
        m_fixture = std::make_unique<WindowFixture>();
        TForm1& f = m_fixture->Form();
        f.show();
        f.Workspace().capacity.DiscCapacityClusters = 200;
        m_fixture->AnswerChooser(m_tree->path());
        QVERIFY(Handled(f, [&] { f.ToolButton2->click(); }));
        QCOMPARE(f.Workspace().folderList.rows.size(), size_t(6));
        f.ShowChanges(ketrilo::RegisterFolderRows(f.Workspace(),
                                                  {RowNamed(f.Workspace(), QStringLiteral("e"))}));
        f.SetPlanImage(std::make_unique<ketrilo::test::ModelImage>());
    }
    void cleanup() { m_fixture.reset(); }

    void addsTheChosenRowsAsTheRegisterButtonWould() {
        TForm1& f = m_fixture->Form();
        // What the register button makes of the same rows selected.
        ketrilo::Workspace expected = f.Workspace();
        (void)ketrilo::RegisterFolderRows(
            expected, {RowNamed(expected, QStringLiteral("a")), RowNamed(expected, LongName)});
        QStringList names, figures;
        QString summary;
        InDialog([&](FillDialog* dialog) {
            summary = dialog->Summary->text();
            for (int r = 0; r < dialog->Rows->rowCount(); ++r) {
                names << dialog->Rows->item(r, 0)->text();
                figures << dialog->Rows->item(r, 1)->text() + "|" +
                               dialog->Rows->item(r, 2)->text();
            }
            QTest::mouseClick(dialog->AddButton, Qt::LeftButton);
        });
        names.sort();
        QCOMPARE(names, QStringList({QStringLiteral("a"), LongName}));
        figures.sort();
        QCOMPARE(figures, QStringList({QStringLiteral("      143360|    70"),
                                       QStringLiteral("      163840|    80")}));
        QVERIFY2(summary.contains(QStringLiteral("空き: 159 → 9 セクタ")), qPrintable(summary));
        QVERIFY2(summary.contains(QStringLiteral("イメージ: 41 → 191 セクタ")),
                 qPrintable(summary));
        QVERIFY2(summary.contains(QStringLiteral("使用率: 20.5% → 95.5%")), qPrintable(summary));
        QVERIFY2(summary.contains(QStringLiteral("入らない候補: 1 件")), qPrintable(summary));
        QVERIFY(Snapshot(f.Workspace()) == Snapshot(expected));
        QCOMPARE(f.ListView1->model()->rowCount(), 3);
        QCOMPARE(f.ListView2->model()->rowCount(), 1);
        QVERIFY2(m_fixture->Status().startsWith(QStringLiteral("クラスタ:160個")),
                 qPrintable(m_fixture->Status()));
        QVERIFY(m_fixture->messages.empty());
    }

    void cancellingTheDialogChangesNothing() {
        TForm1& f = m_fixture->Form();
        const WellSnapshot before = Snapshot(f.Workspace());
        InDialog([](FillDialog* dialog) {
            QVERIFY(dialog->Rows->rowCount() > 0);
            QTest::mouseClick(dialog->CancelButton, Qt::LeftButton);
        });
        QVERIFY(Snapshot(f.Workspace()) == before);
        QCOMPARE(f.ListView1->model()->rowCount(), 1);
    }

    void cancellingTheSearchChangesNothing() {
        TForm1& f = m_fixture->Form();
        f.SetPlanImage(std::make_unique<WaitingImage>());
        QTimer poll;
        bool dialogShown = false;
        connect(&poll, &QTimer::timeout, this, [&] {
            // The user presses the display's cancel button.
            if (auto* progress = f.findChild<ProgressDisplay*>(); progress && progress->isVisible())
                progress->findChild<QPushButton*>()->click();
            if (auto* dialog = qobject_cast<FillDialog*>(QApplication::activeModalWidget())) {
                dialogShown = true;
                dialog->reject();
            }
        });
        poll.start(50);
        const WellSnapshot before = Snapshot(f.Workspace());
        QVERIFY(Handled(f, [&] { f.FillDisc1->trigger(); }));
        QVERIFY(!dialogShown);
        QVERIFY(Snapshot(f.Workspace()) == before);
        QVERIFY(m_fixture->messages.empty());
    }

private:
    // Triggers the menu entry and runs user on the dialog once it shows (polled: it shows
    // once the search on a worker has ended).
    void InDialog(const std::function<void(FillDialog*)>& user) {
        bool seen = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<FillDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr || seen)
                return;
            seen = true;
            poll.stop();
            user(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        poll.start(20);
        QVERIFY(Handled(m_fixture->Form(), [&] { m_fixture->Form().FillDisc1->trigger(); }));
        QVERIFY(seen);
    }

    QString Path(const QString& relative) const { return m_tree->path() + "/" + relative; }

    std::unique_ptr<QTemporaryDir> m_tree;
    std::unique_ptr<WindowFixture> m_fixture;
};

QTEST_MAIN(FillDialogTest)
#include "test_fill_dialog.moc"
