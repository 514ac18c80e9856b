// The image panel: computed away from the window's thread after each change of the well,
// red when the image does not fit, and at once on another disc.
#include "support/DropHelpers.h"
#include "support/WindowFixture.h"

#include "core/image/DiscImageChecks.h"
#include "core/image/DiscImageStatus.h"
#include "core/text/Numbers.h"
#include "image/IsoDiscImage.h"
#include "window/work/DiscImageWatcher.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QScopeGuard>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace ui_test;

namespace {

QString Thousands(int64_t value) {
    return QString::fromStdString(ketrilo::FormatThousands(value));
}

// The figures below are libisofs's: the panel shows them for certain once the judge has
// measured the well.
bool Judged(const TForm1& form) {
    return form.Image().JudgeVerdict() != DiscImageWatcher::Verdict::Pending;
}

} // namespace

class ImageStatusTest : public QObject {
    Q_OBJECT

private slots:
    void panelFollowsTheWellAndTheDisc() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        // Ten clusters of files: the gauge sees them fit 40 clusters, the image does not.
        const QString profile = WriteProfile(
            dir.path(), QStringLiteral("[setting]\nItems=2\n[Item01]\nName=Forty\nCount=40\n"
                                       "[Item02]\nName=Big\nCount=2000\n"));
        const QString folder = dir.filePath(QStringLiteral("photos"));
        QVERIFY(QDir().mkpath(folder));
        MakeFile(folder + QStringLiteral("/a.jpg"), 10 * 2048);
        const int64_t sectors =
            ketrilo::IsoDiscImage().Measure({{"photos", folder.toStdString()}}, nullptr).sectors;
        QVERIFY(sectors > 40);

        WindowFixture fixture(profile);
        TForm1& form = fixture.Form();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QLabel* panel = form.ImageStatusLabel;
        QVERIFY(DropFiles(form, {folder}, LowerAreaTop(form)));
        const QString figure = QString::fromStdString(ketrilo::ImageStatusText(sectors, 2298496));
        QTRY_COMPARE_WITH_TIMEOUT(panel->text(), figure, 30000);
        QVERIFY(form.ProgressBar1->toolTip().contains(QStringLiteral("クラスタ:10個(0%)")));
        QVERIFY(form.ProgressBar1->toolTip().contains(figure));

        form.ComboBox1->setCurrentIndex(1); // Big, then Forty: no new layout either time
        form.ComboBox1->setCurrentIndex(0);
        QTest::qWait(0);
        QCOMPARE(panel->text(), QString::fromStdString(ketrilo::ImageStatusText(sectors, 40)));
        QVERIFY(!form.Image().Computing());
        QCOMPARE(panel->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(form.ProgressBar1->value(), 25); // the gauge keeps the clusters' percentage

        // A burst of changes ends with the image of the last well.
        form.ToolButton5Click();
        QVERIFY(DropFiles(form, {folder}, LowerAreaTop(form)));
        form.ToolButton5Click();
        const int64_t empty = ketrilo::IsoDiscImage().Measure({}, nullptr).sectors;
        QTRY_COMPARE_WITH_TIMEOUT(
            panel->text(), QString::fromStdString(ketrilo::ImageStatusText(empty, 40)), 30000);
        QVERIFY(panel->palette().color(QPalette::WindowText) != QColor(Qt::red));
    }

    void imageOverTheDiscSaysSoEverywhere() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString profile = WriteProfile(
            dir.path(), QStringLiteral("[setting]\nItems=3\n[Item01]\nName=Forty\nCount=40\n"
                                       "[Item02]\nName=Big\nCount=2000\n"
                                       "[Item03]\nName=Broken\nCount=0\n"));
        const QString folder = dir.filePath(QStringLiteral("photos"));
        const QString side = dir.filePath(QStringLiteral("side"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QDir().mkpath(side));
        MakeFile(folder + QStringLiteral("/a.jpg"), 10 * 2048);
        MakeFile(side + QStringLiteral("/small.txt"), 2048);
        const int64_t sectors =
            ketrilo::IsoDiscImage().Measure({{"photos", folder.toStdString()}}, nullptr).sectors;
        QVERIFY(sectors > 40);

        WindowFixture fixture(profile);
        TForm1& form = fixture.Form();
        form.resize(900, 600);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.ComboBox1->setCurrentIndex(1);
        form.ComboBox1->setCurrentIndex(0); // Forty: 30 clusters left by the gauge
        QTest::qWait(0);
        fixture.AnswerChooser(side);
        QVERIFY(Handled(form, [&] { form.ToolButton2->click(); }));
        QCOMPARE(form.ListView3->model()->rowCount(), 1);
        const auto smallTint = [&] {
            return form.ListView3->model()->index(0, 1).data(Qt::BackgroundRole);
        };
        QVERIFY(DropFiles(form, {folder}, LowerAreaTop(form)));
        QTRY_VERIFY_WITH_TIMEOUT(Judged(form), 30000);

        // The Part's figures stay: 25 % and 61,440 bytes left by the clusters.
        QCOMPARE(form.ProgressBar1->value(), 25);
        QVERIFY(form.StatusLabel->text().endsWith(QStringLiteral("残り容量:61,440バイト")));
        // The panel says it does not fit, in bytes too, and what its figure assumes.
        QCOMPARE(form.ImageStatusLabel->text(),
                 QStringLiteral("イメージ:%1セクタ 残り:-%2セクタ(-%3バイト) 入りません")
                     .arg(Thousands(sectors), Thousands(sectors - 40),
                          Thousands((sectors - 40) * 2048)));
        QVERIFY(form.ImageStatusLabel->toolTip().contains(QStringLiteral("-no-pad")));
        QCOMPARE(form.ImageStatusLabel->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(form.ImageStatusLabel->font().pixelSize() >= 12);
        // The gauge's bar is painted red, and no row is tinted as still fitting.
        const QImage gauge = form.ProgressBar1->grab().toImage();
        const QColor bar = gauge.pixelColor(gauge.width() / 10, gauge.height() / 2);
        QVERIFY2(bar.red() > 180 && bar.green() < 90 && bar.blue() < 90, qPrintable(bar.name()));
        QVERIFY(!smallTint().isValid());

        // A disc with no capacity: the status cannot be computed, the image panel follows
        // the disc in force all the same.
        form.ComboBox1->setCurrentIndex(2);
        QTest::qWait(0);
        QCOMPARE(fixture.messages.size(), size_t{1});
        QCOMPARE(form.ImageStatusLabel->text(),
                 QString::fromStdString(ketrilo::ImageStatusText(sectors, 0)));

        // A disc it fits on: the normal colours and the tint come back.
        form.ComboBox1->setCurrentIndex(1);
        QTest::qWait(0);
        QCOMPARE(form.ImageStatusLabel->text(),
                 QString::fromStdString(ketrilo::ImageStatusText(sectors, 2000)));
        QVERIFY(!form.ImageStatusLabel->text().contains(QStringLiteral("バイト")));
        QVERIFY(form.ImageStatusLabel->palette().color(QPalette::WindowText) != QColor(Qt::red));
        QVERIFY(form.ProgressBar1->palette().color(QPalette::Highlight) != QColor(Qt::red));
        QVERIFY(smallTint().isValid());
    }

    // A long name inside a folder registered with the register button is not in the long-
    // name list: its row says how to get it there, and a double click leaves the dialog
    // open. Long paths are elided in the middle, whole in the tooltip and accessible name.
    void registeredFolderFindingsPointWhereTheUserCanAct() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString folder = dir.filePath(QStringLiteral("reg"));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/cut")));
        const QString longName = folder + QStringLiteral("/cut/") + QString(70, QLatin1Char('c'));
        MakeFile(longName, 1);
        WindowFixture fixture;
        TForm1& form = fixture.Form();
        form.show();
        fixture.AnswerChooser(dir.path());
        QVERIFY(Handled(form, [&] { form.ToolButton2->click(); }));
        SelectOnly(form.ListView3, {0});
        form.ToolButton1Click();
        QCOMPARE(form.Workspace().well.Size(), size_t(1));
        QCOMPARE(form.ListView2->model()->rowCount(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(Judged(form), 30000);

        bool stayedOpen = false;
        QTimer::singleShot(0, &form, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            const auto close = qScopeGuard([dialog] { dialog->close(); });
            auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("DiscCheckList"));
            QCOMPARE(table->textElideMode(), Qt::ElideMiddle);
            QTableWidgetItem* path = table->findItems(longName, Qt::MatchExactly).value(0);
            QVERIFY(path != nullptr);
            QCOMPARE(path->toolTip(), longName);
            QCOMPARE(path->data(Qt::AccessibleTextRole).toString(), longName);
            const QString action = table->item(path->row(), 2)->text();
            QVERIFY2(action.endsWith(QString::fromUtf8(ketrilo::LongNameAdvice(false))),
                     qPrintable(action));
            QCOMPARE(table->item(path->row(), 2)->toolTip(), action);
            QVERIFY(QTest::qWaitForWindowExposed(table->window()));
            const QRect cell = table->visualItemRect(path);
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
            stayedOpen = dialog->isVisible();
        });
        form.N7->trigger();
        QVERIFY(stayedOpen);
    }

    // A file over the largest libisofs writes: no figure, the panel says no image can be
    // made, and it does not fit.
    void aFileNoBurnerWritesShowsNoFigure() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString huge = dir.filePath(QStringLiteral("huge.bin"));
        MakeFile(huge, ketrilo::LargestImageFile + 1);
        WindowFixture fixture;
        TForm1& form = fixture.Form();
        form.show();
        QVERIFY(DropFiles(form, {huge}, LowerAreaTop(form)));
        QTRY_VERIFY_WITH_TIMEOUT(Judged(form), 30000);
        QCOMPARE(form.ImageStatusLabel->text(), QString::fromUtf8(ketrilo::ImageCannotBeMadeText));
        QCOMPARE(form.ImageStatusLabel->palette().color(QPalette::WindowText), QColor(Qt::red));
    }

    void checkDialogLeadsToTheLongName() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString folder = dir.filePath(QStringLiteral("docs"));
        QVERIFY(QDir().mkpath(folder));
        MakeFile(folder + QStringLiteral("/a:b"), 1);
        const QString longName = folder + QLatin1Char('/') + QString(65, QLatin1Char('L'));
        MakeFile(longName, 1);
        WindowFixture fixture;
        TForm1& form = fixture.Form();
        form.show();
        QVERIFY(DropFiles(form, {folder}, LowerAreaTop(form)));
        QTRY_VERIFY_WITH_TIMEOUT(Judged(form), 30000);

        QStringList rows;
        QTimer::singleShot(0, &form, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            const auto closeOnFailure = qScopeGuard([dialog] { dialog->close(); });
            auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("DiscCheckList"));
            for (int row = 0; row < table->rowCount(); ++row)
                rows << table->item(row, 0)->text() + '|' + table->item(row, 1)->text();
            QVERIFY(QTest::qWaitForWindowExposed(table->window()));
            const QRect cell = table->visualItemRect(table->findItems(longName, {}).first());
            // A user's double click: the first press selects, the second is the double click.
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        });
        form.N7->trigger();
        QCOMPARE(
            rows,
            QStringList(
                {longName + '|' +
                     ketrilo::ImageFindingReason(ketrilo::ImageFindingKind::JolietNameTooLong),
                 folder + QStringLiteral("/a:b|") +
                     ketrilo::ImageFindingReason(ketrilo::ImageFindingKind::JolietCharacter)}));
        QCOMPARE(ColumnTexts(form.ListView2, 0), QStringList({QString(65, QLatin1Char('L'))}));
        QCOMPARE(form.ListView2->selectionModel()->selectedRows().size(), 1);
    }
};

QTEST_MAIN(ImageStatusTest)
#include "test_image_status.moc"
