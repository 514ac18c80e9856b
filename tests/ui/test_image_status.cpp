// The image panel: computed away from the window's thread after each change of the well,
// "計算中…" meanwhile, red when the image does not fit, and at once on another disc.
#include "support/DropHelpers.h"
#include "support/WindowFixture.h"

#include "ImageWatcher.h"
#include "core/ImageStatus.h"
#include "image/IsoDiscImage.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>

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
};

QTEST_MAIN(ImageStatusTest)
#include "test_image_status.moc"
