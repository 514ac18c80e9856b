// The image panel's two measures: the quick one's figure shows after a change with no
// "計算中…" flashing up unless it is late, the judge measures the resting well and its
// figure wins (with a warning) where they differ, and a change cancels the judge.
#include "support/DropHelpers.h"
#include "support/FakeImage.h"
#include "support/WindowFixture.h"

#include "core/image/DiscImageStatus.h"
#include "window/work/DiscImageWatcher.h"

#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace ui_test;

namespace {

QString Figure(const TForm1& form, int64_t sectors) {
    return QString::fromStdString(
        ketrilo::ImageStatusText(sectors, form.Workspace().capacity.DiscCapacityClusters));
}

QString Computing() {
    return QString::fromUtf8(ketrilo::ImageComputingText);
}

using Verdict = DiscImageWatcher::Verdict;

} // namespace

class ImageJudgeTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        m_file = m_dir.filePath(QStringLiteral("a.txt"));
        MakeFile(m_file, 10);
        m_other = m_dir.filePath(QStringLiteral("b.txt"));
        MakeFile(m_other, 10);
    }

    // The quick figure replaces the last one in place; a late one shows "計算中…" until it
    // comes; an agreeing judge says nothing. The recalculate command makes the quick image
    // forget before it measures again.
    void quickFigureShowsAtOnceOrSaysItIsLate() {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("DiscImageWatcher")));
        auto quick = std::make_shared<FakeImage>(1000);
        WindowFixture fixture;
        TForm1& form = fixture.Form();
        form.SetDiscImages(quick, std::make_shared<FakeImage>(1000));
        form.show();
        QLabel* panel = form.ImageStatusLabel;
        QTRY_COMPARE(panel->text(), Figure(form, 1000));

        QStringList shown;
        form.SetWatcher([&] { shown << panel->text(); });
        QVERIFY(DropFiles(form, {m_file}, LowerAreaTop(form)));
        QTRY_COMPARE(panel->text(), Figure(form, 1001));
        form.SetWatcher({});
        QVERIFY2(!shown.contains(Computing()), qPrintable(shown.join(QLatin1Char('|'))));
        QTRY_COMPARE_WITH_TIMEOUT(form.Image().JudgeVerdict(), Verdict::Confirmed, 10000);
        QCOMPARE(panel->text(), Figure(form, 1001));

        quick->held = true;
        QVERIFY(DropFiles(form, {m_other}, LowerAreaTop(form)));
        QVERIFY(form.Image().Computing()); // the drop's handler did not wait for the image
        QCOMPARE(panel->text(), Figure(form, 1001)); // the last figure stays meanwhile
        QTRY_COMPARE(panel->text(), Computing());
        quick->held = false;
        QTRY_COMPARE(panel->text(), Figure(form, 1002));

        QVERIFY(Handled(form, [&] { form.ToolButton4->click(); }));
        QTRY_VERIFY(!form.Image().Computing());
        QCOMPARE(quick->Calls().mid(quick->Calls().size() - 2),
                 QStringList({QStringLiteral("forget"), QStringLiteral("measure 2")}));
    }

    // A judge that finds otherwise wins, findings and all, and the difference is reported
    // with both figures and the number of items.
    void differingJudgeReplacesTheFigureAndWarns() {
        WindowFixture fixture;
        TForm1& form = fixture.Form();
        form.SetDiscImages(std::make_shared<FakeImage>(1000),
                           std::make_shared<FakeImage>(2000, true));
        form.show();
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral(
                                 "1 items: quick measure 1001 sectors, 0 findings, full layout "
                                 "2001 sectors, 1 findings")));
        QVERIFY(DropFiles(form, {m_file}, LowerAreaTop(form)));
        QTRY_COMPARE(form.ImageStatusLabel->text(), Figure(form, 1001));
        QTRY_COMPARE_WITH_TIMEOUT(form.Image().JudgeVerdict(), Verdict::Replaced, 10000);
        QCOMPARE(form.ImageStatusLabel->text(), Figure(form, 2001));
        QCOMPARE(form.Image().Report()->findings.size(), size_t{1});
    }

    // A change while the judge measures: its figure of the earlier well is never shown, and
    // the judge measures the well as it now is.
    void changeDuringTheJudgeDropsItsFigure() {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("DiscImageWatcher")));
        auto judge = std::make_shared<FakeImage>(1000);
        WindowFixture fixture;
        TForm1& form = fixture.Form();
        form.SetDiscImages(std::make_shared<FakeImage>(1000), judge);
        form.show();
        QTRY_COMPARE_WITH_TIMEOUT(form.Image().JudgeVerdict(), Verdict::Confirmed, 10000);

        judge->held = true;
        QVERIFY(DropFiles(form, {m_file}, LowerAreaTop(form)));
        QTRY_COMPARE_WITH_TIMEOUT(judge->started.load(), 2, 10000);
        QVERIFY(DropFiles(form, {m_other}, LowerAreaTop(form)));
        QTRY_COMPARE(form.ImageStatusLabel->text(), Figure(form, 1002));
        judge->held = false; // its figure, 1001, is of the earlier well
        QTRY_COMPARE_WITH_TIMEOUT(form.Image().JudgeVerdict(), Verdict::Confirmed, 10000);
        QCOMPARE(form.ImageStatusLabel->text(), Figure(form, 1002));
        QCOMPARE(judge->Calls().last(), QStringLiteral("measure 2"));
    }

private:
    QTemporaryDir m_dir;
    QString m_file;
    QString m_other;
};

QTEST_MAIN(ImageJudgeTest)
#include "test_image_judge.moc"
