// The three list models keep Qt's model contract through every command the user gives:
// a view, a proxy or a screen reader reading the rows between "about to" and "done" reads
// the rows it was told of. Qt's own model tester watches each model; a change that does
// not add up to the core's rows fails the test instead of being shown anew.
#include "../core/ModelImage.h"
#include "support/DropHelpers.h"
#include "support/WindowFixture.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace ui_test;

namespace {

QString LongName(int i) {
    return QString(62, QLatin1Char('a' + i)) + QStringLiteral(".txt"); // 66 units
}

void ClickHeader(QTableView* view, int column) {
    QHeaderView* header = view->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

} // namespace

class ModelContractTest : public QObject {
    Q_OBJECT

private slots:
    void everyCommandKeepsTheContract() {
        QTemporaryDir tree;
        QVERIFY(tree.isValid());
        const auto path = [&tree](const QString& name) {
            return tree.filePath(name);
        };
        QDir(tree.path()).mkpath(QStringLiteral("sub"));
        for (int i = 0; i < 12; ++i)
            MakeFile(path(QStringLiteral("f%1.bin").arg(i, 2, 10, QLatin1Char('0'))),
                     (i % 5 + 1) * 40 * 2048);
        for (int i = 0; i < 3; ++i)
            MakeFile(path("sub/" + LongName(i)), 100 * (i + 1));

        WindowFixture fixture;
        TForm1& f = fixture.Form();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QTest::failOnWarning(QRegularExpression(QStringLiteral("^RowTableModel")));
        for (QTableView* view : {f.ListView1, f.ListView2, f.ListView3})
            new QAbstractItemModelTester(
                view->model(), QAbstractItemModelTester::FailureReportingMode::QtTest, this);

        fixture.AnswerChooser(tree.path()); // list
        QVERIFY(Handled(f, [&] { f.ToolButton2->click(); }));
        QCOMPARE(f.ListView3->model()->rowCount(), 13);
        SelectOnly(f.ListView3, {0, 2, 3, 5, 8, 9, 11}); // register
        f.ToolButton1->click();
        QVERIFY(DropFiles(f, {path("sub")}, LowerAreaTop(f))); // drop
        QCOMPARE(f.ListView2->model()->rowCount(), 3);
        for (int column : {2, 2, 0}) { // sort both ways and back
            ClickHeader(f.ListView1, column);
            ClickHeader(f.ListView3, column);
        }
        SelectOnly(f.ListView1, {0, 2, 3, 6}); // delete scattered rows
        QTest::keyClick(f.ListView1, Qt::Key_Delete);
        QCOMPARE(f.ListView1->model()->rowCount(), 4);

        f.ListView2->selectRow(1); // rename a long name to a short one
        f.ListView2DblClick();
        f.Edit2->setText(QStringLiteral("short.txt"));
        QTest::keyClick(f.Edit2, Qt::Key_Return);
        QCOMPARE(f.ListView2->model()->rowCount(), 2);
        QVERIFY(Handled(f, [&] { f.ToolButton4->click(); })); // recalculate

        f.Workspace().capacity.DiscCapacityClusters = 300; // load one disc of a plan
        f.SetPlanImage(std::make_unique<ketrilo::test::ModelImage>());
        QVERIFY(Handled(f, [&] { f.PlanDiscs1->trigger(); }));
        PlanDialog* dialog = f.CurrentPlanDialog();
        QVERIFY2(dialog != nullptr,
                 qPrintable(fixture.messages.empty() ? QString() : fixture.messages.back().text));
        QVERIFY(dialog->Discs->rowCount() > 1);
        dialog->Discs->selectRow(1);
        QVERIFY(Handled(f, [&] { QTest::mouseClick(dialog->LoadButton, Qt::LeftButton); }));
        QTRY_VERIFY(f.ListView1->model()->rowCount() > 0);

        f.ToolButton5->click(); // clear
        QCOMPARE(f.ListView1->model()->rowCount(), 0);
        QVERIFY(Handled(f, [&] { f.ToolButton3->click(); })); // list again
        QCOMPARE(f.ListView3->model()->rowCount(), 13);
    }
};

QTEST_MAIN(ModelContractTest)
#include "test_model_contract.moc"
