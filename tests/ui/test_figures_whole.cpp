// What the user reads must be whole: the largest figures in both lists, the longest
// status line the shipped discs can produce, and the disc names in the chooser.
#include "app/AppearanceSetup.h"
#include "support/WindowFixture.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

using namespace ui_test;

namespace {

struct PaintedText {
    QString text;
    int pixelSize;
};

// A paint device that keeps every text painted on it and the font size it took.
class TextRecorder final : public QPaintDevice {
public:
    explicit TextRecorder(QSize size) : m_size(size) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }
    [[nodiscard]] const QList<PaintedText>& Texts() const { return m_engine.texts; }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        case PdmDepth:
            return 32;
        default:
            return 0;
        }
    }

private:
    struct Engine final : QPaintEngine {
        Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF&, const QTextItem& item) override {
            texts.append({item.text(), item.font().pixelSize()});
        }
        Type type() const override { return QPaintEngine::User; }
        QList<PaintedText> texts;
    };
    QSize m_size;
    mutable Engine m_engine;
};

QList<PaintedText> PaintedTexts(QWidget* widget) {
    TextRecorder recorder(widget->size());
    widget->render(&recorder);
    return recorder.Texts();
}

// Font size at which text was painted, or 0 when it was not painted as it stands.
int PaintedSize(const QList<PaintedText>& painted, const QString& text) {
    for (const PaintedText& p : painted)
        if (p.text == text)
            return p.pixelSize;
    return 0;
}

// Width from the first to the last column of an image that differs from its top left pixel.
int InkWidth(const QImage& image) {
    const QRgb background = image.pixel(0, 0);
    int first = image.width();
    int last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return last < first ? 0 : last - first + 1;
}

// Ink width of text painted on a canvas wide enough to hold it.
int FreeInkWidth(const QString& text, const QFont& font) {
    QImage canvas(4 * QFontMetrics(font).horizontalAdvance(text), 3 * QFontMetrics(font).height(),
                  QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(20, 2 * QFontMetrics(font).ascent()), text);
    painter.end();
    return InkWidth(canvas);
}

void ChooseFromList(QComboBox* combo, const QString& name) {
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    QTRY_VERIFY(list->isVisible());
    const QModelIndex entry = list->model()->index(combo->findText(name), 0);
    list->scrollTo(entry);
    const QRect item = list->visualRect(entry);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    QTRY_VERIFY(!list->isVisible());
}

} // namespace

class FiguresWholeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetUpAppearance(); }
    void init() {
        m_fixture = std::make_unique<WindowFixture>(QString::fromUtf8(KETRILO_SHIPPED_PROFILES));
        m_fixture->Form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_fixture->Form()));
    }
    void cleanup() { m_fixture.reset(); }

    void largestFiguresArePaintedWhole() {
        TForm1& f = m_fixture->Form();
        // A full BD-R XL shows 12 digits of bytes and 8 of clusters; 13 and 9 are beyond
        // any disc but a folder can hold them.
        f.Workspace().well.Append({"a", "", 999999999999, 99999999, "/tmp/", 0});
        f.Workspace().well.Append({"b", "", 9999999999999, 999999999, "/tmp/", 0});
        f.Workspace().folderList.rows.push_back({"a", "", 999999999999, 99999999, 1, "", 0});
        f.Workspace().folderList.rows.push_back({"b", "", 9999999999999, 999999999, 1, "", 0});
        ketrilo::Changes added;
        added.well.appended = 2;
        added.folderList.appended = 2;
        f.ShowChanges(added);
        for (QTableView* list : {f.ListView1, f.ListView3}) {
            const QList<PaintedText> painted = PaintedTexts(list->viewport());
            const int fontSize = list->font().pixelSize();
            QCOMPARE(PaintedSize(painted, QStringLiteral("999999999999")), fontSize);
            QCOMPARE(PaintedSize(painted, QStringLiteral("99999999")), fontSize);
            QVERIFY(PaintedSize(painted, QStringLiteral("9999999999999")) > 0);
            QVERIFY(PaintedSize(painted, QStringLiteral("999999999")) > 0);
        }
    }

    void theLongestStatusLineIsPaintedWhole() {
        TForm1& f = m_fixture->Form();
        FittingLabel* label = f.StatusLabel;
        QCOMPARE(label->font().pixelSize(), 21); // the empty well's line fits as it is
        // The smallest disc and a well just short of 10 TB: every figure at its longest.
        ChooseFromList(f.ComboBox1, QStringLiteral("CD-R 650MB"));
        f.Workspace().well.Append({"huge", "", 9999999997952, 4882812499, "/tmp/", 0});
        f.UpdateCapacityStatus();
        const QString line =
            QStringLiteral("クラスタ:4,882,812,499個 サイズ:9,999,999,997,952バイト"
                           "(1466310%) 残り容量:-9,999,318,013,952バイト");
        QTRY_COMPARE(label->text(), line);
        // The image line at its longest too: it takes a line of its own below, in a font
        // no smaller than the status line's smallest, and the bar grows by that line.
        const QString image =
            QStringLiteral("イメージ:4,882,812,551セクタ 残り:-4,882,493,580セクタ");
        f.ImageStatusLabel->ShowText(image);
        QCOMPARE(label->toolTip(), line);
        QCOMPARE(label->accessibleName(), line);
        QVERIFY(label->font().pixelSize() >= 12);
        QVERIFY(label->font().pixelSize() < 21);
        const QImage shown = label->grab().toImage();
        QVERIFY(InkWidth(shown) <= shown.width() - 2);
        QVERIFY(std::abs(InkWidth(shown) - FreeInkWidth(line, label->font())) <= 1);
        FittingLabel* second = f.ImageStatusLabel;
        QCOMPARE(second->accessibleName(), image);
        QVERIFY(second->y() >= label->y() + label->height());
        QCOMPARE(second->font().pixelSize(), 12);
        QTRY_VERIFY(f.StatusBar1->height() > 28);
        QTRY_VERIFY(second->height() >= QFontMetrics(second->font()).height());
        const QImage beside = second->grab().toImage();
        QVERIFY(InkWidth(beside) <= beside.width() - 2);
        QVERIFY(std::abs(InkWidth(beside) - FreeInkWidth(image, second->font())) <= 1);
    }

    void discNamesAreReadFromTheirFirstLetter() {
        TForm1& f = m_fixture->Form();
        QCOMPARE(f.ComboBox1->currentText(), QStringLiteral("DVD-R"));
        const QString longest = QStringLiteral("BD-R XL 128GB");
        ChooseFromList(f.ComboBox1, longest);
        QLineEdit* box = f.ComboBox1->lineEdit();
        QTRY_COMPARE(box->text(), longest);
        box->grab(); // the box settles what it shows when it paints
        QCOMPARE(box->cursorPositionAt(QPoint(box->contentsRect().left() + 3, box->height() / 2)),
                 0);
        // The list may be wider than the box: every name is painted whole.
        f.ComboBox1->showPopup();
        QTRY_VERIFY(f.ComboBox1->view()->isVisible());
        QAbstractItemView* list = f.ComboBox1->view();
        for (int i = 0; i < f.ComboBox1->count(); ++i) {
            list->scrollTo(list->model()->index(i, 0));
            QVERIFY2(PaintedSize(PaintedTexts(list->viewport()), f.ComboBox1->itemText(i)) > 0,
                     qPrintable(f.ComboBox1->itemText(i)));
        }
        f.ComboBox1->hidePopup();
    }

private:
    std::unique_ptr<WindowFixture> m_fixture;
};

QTEST_MAIN(FiguresWholeTest)
#include "test_figures_whole.moc"
