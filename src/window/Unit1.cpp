// TForm1's layout: the controls, where they stand, how they look.
#include "window/Unit1.h"

#include "core/image/ArithmeticDiscImage.h"
#include "core/image/DiscImageStatus.h"
#include "image/IsoDiscImage.h"
#include "window/dialogs/FileFolder.h"
#include "window/icons/Resources.h"
#include "window/models/FolderListModel.h"
#include "window/models/LongNameModel.h"
#include "window/models/WellModel.h"
#include "window/seams/QtDragOut.h"
#include "window/widgets/AnchoredPanel.h"
#include "window/widgets/Colours.h"
#include "window/widgets/DiscChooser.h"
#include "window/widgets/DragHandle.h"
#include "window/widgets/ListViews.h"
#include "window/widgets/RaisedToolBar.h"
#include "window/widgets/SplitterBar.h"
#include "window/widgets/StatusPanels.h"
#include "window/work/DiscImageWatcher.h"
#include "window/work/LongWork.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int ClientWidth = 824;
constexpr int ClientHeight = 580;
constexpr int Panel1Height = 201;
constexpr int ListView2Height = 96;
constexpr int Panel2Height = 48;
constexpr int ProgressBarHeight = 17;
constexpr int StatusBarHeight = 28;
constexpr int ToolBarHeight = 25;
constexpr int ToolButtonSpacing = 23;
constexpr int StatusFontPixels = 21;
constexpr int SmallestStatusFontPixels = 12;

QFont JapaneseGothic(int pixelSize) {
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(pixelSize);
    return font;
}

template <class W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TForm1::TForm1(const QString& profilePath, QWidget* parent)
    : QMainWindow(parent), m_reporter(this), m_profilePath(profilePath),
      m_dragOut(std::make_unique<QtDragOut>()), m_longWork(new LongWork(this)),
      m_discImageWatcher(new DiscImageWatcher(
          std::make_shared<ketrilo::ArithmeticDiscImage>(std::make_shared<ketrilo::IsoDiscImage>()),
          std::make_shared<ketrilo::IsoDiscImage>(), this)) {
    m_ws.walkWitness = m_discImageWatcher->Witness();
    m_chooseFolder = [this] {
        return SelectFolder([this](QWidget* chooser, const QString& text) {
            m_reporter.ShowConfirm(chooser, text);
        });
    };
    BuildLayout();
    ConnectHandlers();
    Run([this] { FormCreate(); });
    m_discImageWatcher->Request(ketrilo::ImageItemsOf(m_ws.well));
}

TForm1::~TForm1() {
    // Work still running stops before the image it measures with goes.
    delete m_longWork;
    m_longWork = nullptr;
    Run([this] { FormDestroy(); });
}

void TForm1::BuildLayout() {
    EnsureResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Ketrilo β3"));
    setWindowIcon(QIcon(QStringLiteral(":/ketrilo.svg")));
    setFont(JapaneseGothic(12));

    auto* client = Named(new QWidget(this), "ClientArea");
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(client);

    BuildPanel1();
    BuildLists();
    BuildPanel2();
    BuildToolBar();
    BuildMenu();

    ProgressBar1 = Named(new QProgressBar(client), "ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedHeight(ProgressBarHeight);
    ProgressBar1->setAccessibleName(QStringLiteral("使用率"));

    Splitter2 = Named(new SplitterBar(Panel1, ListView1, SplitterBar::TargetSide::Above, client),
                      "Splitter2");
    Splitter1 = Named(new SplitterBar(ListView2, ListView1, SplitterBar::TargetSide::Below, client),
                      "Splitter1");
    PaintBackground(Splitter2, QPalette::Window, SplitterColour);
    PaintBackground(Splitter1, QPalette::Window, SplitterColour);

    for (QWidget* w : std::initializer_list<QWidget*>{Panel1, Splitter2, ListView1, ProgressBar1,
                                                      Splitter1, ListView2, Panel2})
        column->addWidget(w, w == ListView1 ? 1 : 0);

    StatusBar1 = Named(new QStatusBar(this), "StatusBar1");
    StatusBar1->setFixedHeight(StatusBarHeight);
    StatusBar1->setFont(JapaneseGothic(StatusFontPixels));
    StatusBar1->setSizeGripEnabled(false);
    // The status line keeps its 21-pixel font while it fits; a longer line (13-digit
    // figures, a negative remainder) takes a smaller font rather than lose its end. The
    // image line beside it keeps 12 pixels and moves to a line of its own, the bar growing
    // by it, before either would be cut or shrink below that.
    auto* panels = new StatusPanels(StatusFontPixels, SmallestStatusFontPixels, StatusBar1);
    connect(panels, &StatusPanels::ExtraHeightWanted, StatusBar1,
            [this](int pixels) { StatusBar1->setFixedHeight(StatusBarHeight + pixels); });
    StatusLabel = Named(panels->First(), "StatusLabel");
    ImageStatusLabel = Named(panels->Second(), "ImageStatusLabel");
    ImageStatusLabel->setFont(JapaneseGothic(12));
    StatusBar1->addWidget(panels, 1);
    setStatusBar(StatusBar1);

    setTabOrder(ListView1, Edit1);
    setTabOrder(Edit1, ListView3);
    setTabOrder(ListView3, ComboBox1);
    setTabOrder(ComboBox1, ListView2);
    setTabOrder(ListView2, Edit2);

    resize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TForm1::BuildPanel1() {
    Panel1 = Named(new AnchoredPanel(QSize(ClientWidth, Panel1Height), this), "Panel1");
    Panel1->setFixedHeight(Panel1Height);

    Image1 = Named(new DragHandle(Panel1), "Image1");
    Image1->setPixmap(QIcon(QStringLiteral(":/drag.svg")).pixmap(32, 32));
    Image1->setToolTip(
        QStringLiteral("このアイコンをライティングソフトのウェルにドロップしてください"));
    Image1->setAccessibleName(QStringLiteral("ドラッグアイコン"));
    Panel1->Place(Image1, QRect(8, 32, 32, 32));

    ComboBox1 = Named(new DiscChooser(Panel1), "ComboBox1");
    ComboBox1->setAccessibleName(QStringLiteral("ディスク"));
    Panel1->Place(ComboBox1, QRect(46, 32, 107, 20));

    Edit1 = Named(new QLineEdit(Panel1), "Edit1");
    Edit1->setAccessibleName(QStringLiteral("フォルダ"));
    Panel1->Place(Edit1, QRect(159, 32, 409, 20));
}

void TForm1::BuildLists() {
    ListView3 = Named(new QTableView(Panel1), "ListView3");
    ListView1 = Named(new QTableView(this), "ListView1");
    ListView2 = Named(new QTableView(this), "ListView2");
    m_folderModel = new FolderListModel(m_ws, ImageList1, this);
    m_wellModel = new WellModel(m_ws, ImageList1, this);
    m_longNameModel = new LongNameModel(m_ws, ImageList1, this);
    SetUpListView(ListView3, m_folderModel, QAbstractItemView::ExtendedSelection);
    SetUpListView(ListView1, m_wellModel, QAbstractItemView::ExtendedSelection);
    SetUpListView(ListView2, m_longNameModel, QAbstractItemView::SingleSelection);
    ListView3->setAccessibleName(QStringLiteral("フォルダリスト"));
    ListView1->setAccessibleName(QStringLiteral("ウェル"));
    ListView2->setAccessibleName(QStringLiteral("長いファイル名"));

    PaintBackground(ListView3, QPalette::Base, FolderListColour);
    QPalette wellColours = ListView1->palette();
    wellColours.setColor(QPalette::Base, wellColours.color(QPalette::ToolTipBase));
    ListView1->setPalette(wellColours);
    ListView2->setFixedHeight(ListView2Height);
    // The design places the folder list 3 pixels past the panel's right edge.
    Panel1->Place(ListView3, QRect(0, 70, ClientWidth + 3, 129),
                  Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
}

void TForm1::BuildPanel2() {
    Panel2 = Named(new AnchoredPanel(QSize(ClientWidth, Panel2Height), this), "Panel2");
    Panel2->setFixedHeight(Panel2Height);
    Label2 = Named(new QLabel(QStringLiteral("ファイル名の修正"), Panel2), "Label2");
    Panel2->Place(Label2, QRect(QPoint(0, 8), Label2->sizeHint()));
    Label3 = Named(new QLabel(Panel2), "Label3");
    Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The read-out stands on the colour of a title bar's text; the nearest colour Qt
    // keeps is that of text on a selection.
    Label3->setAutoFillBackground(true);
    Label3->setBackgroundRole(QPalette::HighlightedText);
    Panel2->Place(Label3, QRect(112, 8, 41, 12));
    Edit2 = Named(new QLineEdit(Panel2), "Edit2");
    Edit2->setAccessibleName(QStringLiteral("ファイル名の修正"));
    Panel2->Place(Edit2, QRect(0, 24, 819, 20), Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);
    Panel2->hide();
}

void TForm1::BuildToolBar() {
    ToolBar1 = Named(new RaisedToolBar(Panel1), "ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setFocusPolicy(Qt::NoFocus);
    ToolBar1->layout()->setSpacing(0);
    Panel1->Place(ToolBar1, QRect(0, 0, ClientWidth, ToolBarHeight),
                  Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge);

    const struct {
        QToolButton** button;
        const char* name;
        const char* image;
        const char* hint;
    } buttons[] = {
        {&ToolButton1, "ToolButton1", ":/register.svg", "ファイル、フォルダをウェルに登録します"},
        {&ToolButton2, "ToolButton2", ":/choose.svg", "フォルダを選択します"},
        {&ToolButton3, "ToolButton3", ":/rescan.svg", "更新（再スキャン)"},
        {&ToolButton4, "ToolButton4", ":/recalc.svg", "ウェルのクラスタサイズを再計算します"},
        {&ToolButton5, "ToolButton5", ":/clear.svg", "ウェルの登録内容をクリアします"},
    };
    for (const auto& b : buttons) {
        auto* button = Named(new QToolButton(ToolBar1), b.name);
        button->setIcon(QIcon(QLatin1String(b.image)));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setAutoRaise(true);
        button->setFixedSize(ToolButtonSpacing, ToolBarHeight - 3);
        button->setFocusPolicy(Qt::NoFocus);
        button->setToolTip(QString::fromUtf8(b.hint));
        button->setAccessibleName(QString::fromUtf8(b.hint));
        ToolBar1->addWidget(button);
        *b.button = button;
    }
}

void TForm1::BuildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    N1 = Named(bar->addMenu(QStringLiteral("ファイルリスト(&L)")), "N1");
    Post1 = Named(N1->addAction(QStringLiteral("ウェル登録")), "Post1");
    N5 = Named(N1->addAction(QStringLiteral("フォルダ選択")), "N5");
    N6 = Named(N1->addAction(QStringLiteral("更新(再スキャン)")), "N6");
    N2 = Named(bar->addMenu(QStringLiteral("ウェル(&W)")), "N2");
    N3 = Named(N2->addAction(QStringLiteral("クラスタ再計算")), "N3");
    N4 = Named(N2->addAction(QStringLiteral("クリア(&C)")), "N4");
    N7 = Named(N2->addAction(QStringLiteral("ディスクの検査…")), "N7");
    PlanDiscs1 = Named(N2->addAction(QStringLiteral("複数ディスクに分ける…")), "PlanDiscs1");
    FillDisc1 = Named(N2->addAction(QStringLiteral("空きを埋める…")), "FillDisc1");
}
