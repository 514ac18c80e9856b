// The image panel: computed away from the window's thread after each change of the well,
// "計算中…" meanwhile, red when the image does not fit, and at once on another disc.
#include "support/DropHelpers.h"
#include "support/WindowFixture.h"

#include "ImageWatcher.h"
#include "core/ImageStatus.h"
#include "image/IsoDiscImage.h"

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

using namespace ui_test;

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
        QCOMPARE(panel->text(), QStringLiteral("計算中…")); // the drop's handler did not wait
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
        QCOMPARE(panel->text(), QStringLiteral("計算中…"));
        const int64_t empty = ketrilo::IsoDiscImage().Measure({}, nullptr).sectors;
        QTRY_COMPARE_WITH_TIMEOUT(
            panel->text(), QString::fromStdString(ketrilo::ImageStatusText(empty, 40)), 30000);
        QVERIFY(panel->palette().color(QPalette::WindowText) != QColor(Qt::red));
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
        QTRY_VERIFY_WITH_TIMEOUT(!form.Image().Computing(), 30000);

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
