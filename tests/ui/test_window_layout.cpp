// The main window's controls: names, kinds, parents, places, colours, texts, columns,
// menu and tool bar, and which handler each command reaches.
#include "support/WindowFixture.h"

#include "window/widgets/AnchoredPanel.h"
#include "window/widgets/DragHandle.h"
#include "window/widgets/ListViews.h"
#include "window/widgets/SplitterBar.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QtMath>

using namespace ui_test;

namespace {

QStringList HeaderCaptions(const QTableView* view) {
    QStringList captions;
    for (int c = 0; c < view->model()->columnCount(); ++c)
        captions << view->model()->headerData(c, Qt::Horizontal).toString();
    return captions;
}

QList<int> Widths(const QTableView* view) {
    QList<int> widths;
    for (int c = 0; c < view->model()->columnCount(); ++c)
        widths << view->columnWidth(c);
    return widths;
}

QList<bool> RightAligned(const QTableView* view) {
    QList<bool> right;
    for (int c = 0; c < view->model()->columnCount(); ++c)
        right << ((view->model()->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt() &
                   Qt::AlignRight) != 0);
    return right;
}

QColor BaseColour(const QWidget* w) {
    return w->palette().color(QPalette::Base);
}

} // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_fixture = std::make_unique<WindowFixture>();
        m_fixture->Form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_fixture->Form()));
    }
    void cleanup() { m_fixture.reset(); }

    void controlsAreNamedAndParented() {
        TForm1& f = m_fixture->Form();
        QWidget* client = f.centralWidget();
        const struct {
            QWidget* control;
            const char* name;
            QWidget* parent;
        } expected[] = {
            {f.Panel1, "Panel1", client},
            {f.ToolBar1, "ToolBar1", f.Panel1},
            {f.Image1, "Image1", f.Panel1},
            {f.ComboBox1, "ComboBox1", f.Panel1},
            {f.Edit1, "Edit1", f.Panel1},
            {f.ListView3, "ListView3", f.Panel1},
            {f.Splitter2, "Splitter2", client},
            {f.ListView1, "ListView1", client},
            {f.ProgressBar1, "ProgressBar1", client},
            {f.Splitter1, "Splitter1", client},
            {f.ListView2, "ListView2", client},
            {f.Panel2, "Panel2", client},
            {f.Label2, "Label2", f.Panel2},
            {f.Label3, "Label3", f.Panel2},
            {f.Edit2, "Edit2", f.Panel2},
            {f.StatusBar1, "StatusBar1", &f},
        };
        for (const auto& e : expected) {
            QVERIFY2(e.control != nullptr, e.name);
            QCOMPARE(e.control->objectName(), QLatin1String(e.name));
            QVERIFY2(e.control->parentWidget() == e.parent, e.name);
        }
        for (int i = 1; i <= 5; ++i) {
            const QString name = QStringLiteral("ToolButton%1").arg(i);
            auto* button = f.findChild<QToolButton*>(name);
            QVERIFY2(button != nullptr, qPrintable(name));
            QCOMPARE(button->parentWidget(), f.ToolBar1);
        }
        QCOMPARE(f.statusBar(), f.StatusBar1);
        QCOMPARE(f.menuBar()->objectName(), QStringLiteral("MainMenu1"));
        QCOMPARE(f.windowTitle(), QStringLiteral("Ketrilo β3"));
        QVERIFY(!f.windowIcon().isNull());
    }

    void controlsStandWhereTheLayoutPutsThem() {
        TForm1& f = m_fixture->Form();
        QCOMPARE(f.centralWidget()->width(), 824);
        QCOMPARE(f.centralWidget()->height() + f.StatusBar1->height(), 580);
        QCOMPARE(f.Image1->geometry(), QRect(8, 32, 32, 32));
        QCOMPARE(f.ComboBox1->geometry(), QRect(46, 32, 107, 20));
        QCOMPARE(f.Edit1->geometry(), QRect(159, 32, 409, 20));
        QCOMPARE(f.ListView3->geometry().topLeft(), QPoint(0, 70));
        QCOMPARE(f.ToolBar1->height(), 25);
        QCOMPARE(f.Panel1->height(), 201);
        QCOMPARE(f.Splitter2->height(), 5);
        QCOMPARE(f.Splitter1->height(), 5);
        QCOMPARE(f.ProgressBar1->height(), 17);
        QCOMPARE(f.ListView2->height(), 96);
        QCOMPARE(f.StatusBar1->height(), 28);
        QVERIFY(f.Panel2->isHidden());

        // From the top: Panel1, Splitter2, ListView1 (the rest), ProgressBar1, Splitter1,
        // ListView2, then the status bar; nothing between them.
        const QWidget* column[] = {f.Panel1,       f.Splitter2, f.ListView1,
                                   f.ProgressBar1, f.Splitter1, f.ListView2};
        for (size_t i = 1; i < std::size(column); ++i)
            QCOMPARE(column[i]->y(), column[i - 1]->geometry().bottom() + 1);
        QCOMPARE(f.ListView2->geometry().bottom() + 1, f.centralWidget()->height());

        // Showing the rename panel takes its 48 pixels from the well only.
        const int wellHeight = f.ListView1->height();
        f.Panel2->show();
        QTRY_COMPARE(f.ListView1->height(), wellHeight - 48);
        QCOMPARE(f.Panel2->height(), 48);
        QCOMPARE(f.Panel2->y(), f.ListView2->geometry().bottom() + 1);
        QCOMPARE(f.Edit2->geometry(), QRect(0, 24, 819, 20));
        QCOMPARE(f.Label3->geometry(), QRect(112, 8, 41, 12));
    }

    void folderListGrowsWithItsPanel() {
        TForm1& f = m_fixture->Form();
        const QRect before = f.ListView3->geometry();
        f.resize(f.width() + 100, f.height() + 60);
        QTRY_COMPARE(f.ListView3->width(), before.width() + 100);
        QCOMPARE(f.ListView3->height(), before.height()); // the panel keeps its height
        f.Panel1->setFixedHeight(261);
        QTRY_COMPARE(f.ListView3->height(), before.height() + 60);
    }

    void splittersResizeTheirNeighbour() {
        TForm1& f = m_fixture->Form();
        const int well = f.ListView1->height();
        QTest::mousePress(f.Splitter2, Qt::LeftButton, {}, QPoint(10, 2));
        QTest::mouseMove(f.Splitter2, QPoint(10, 32));
        QTest::mouseRelease(f.Splitter2, Qt::LeftButton, {}, QPoint(10, 32));
        QTRY_COMPARE(f.Panel1->height(), 231);
        QTest::mousePress(f.Splitter1, Qt::LeftButton, {}, QPoint(10, 2));
        QTest::mouseMove(f.Splitter1, QPoint(10, -18));
        QTest::mouseRelease(f.Splitter1, Qt::LeftButton, {}, QPoint(10, -18));
        QTRY_COMPARE(f.ListView2->height(), 116);
        QTRY_COMPARE(f.ListView1->height(), well - 50);
    }

    void coloursFontsAndCursors() {
        TForm1& f = m_fixture->Form();
        QCOMPARE(BaseColour(f.ListView3), QColor(255, 251, 240));
        QCOMPARE(BaseColour(f.ListView2), QColor(255, 225, 253));
        QCOMPARE(BaseColour(f.ListView1), f.palette().color(QPalette::ToolTipBase));
        for (const SplitterBar* s : {f.Splitter1, f.Splitter2}) {
            QCOMPARE(s->palette().color(QPalette::Window), QColor(166, 202, 240));
            QCOMPARE(s->cursor().shape(), Qt::SizeVerCursor);
        }
        QCOMPARE(f.font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(f.font().pixelSize(), 12);
        QCOMPARE(f.StatusBar1->font().pixelSize(), 21);
        QCOMPARE(f.ProgressBar1->minimum(), 0);
        QCOMPARE(f.ProgressBar1->maximum(), 100);
        QVERIFY(!f.ProgressBar1->isTextVisible());
        QCOMPARE(f.Label3->alignment() & Qt::AlignRight, Qt::AlignRight);
        QCOMPARE(f.Label2->text(), QStringLiteral("ファイル名の修正"));
        QVERIFY(f.ComboBox1->isEditable());
    }

    void toolBarStandsOnARaisedEdge() {
        QToolBar* bar = m_fixture->Form().ToolBar1;
        const QImage painted = bar->grab().toImage();
        const int w = painted.width();
        const int h = painted.height();
        const QRgb light = bar->palette().color(QPalette::Light).rgb();
        const QRgb dark = bar->palette().color(QPalette::Dark).rgb();
        // Measured past the last button, where only the bar itself is painted.
        QCOMPARE(painted.pixel(w - 4, 0), light);
        QCOMPARE(painted.pixel(0, h / 2), light);
        QCOMPARE(painted.pixel(w - 4, h - 1), dark);
        QCOMPARE(painted.pixel(w - 1, h / 2), dark);
    }

    void columnsOfEachList() {
        TForm1& f = m_fixture->Form();
        QCOMPARE(HeaderCaptions(f.ListView3),
                 QStringList({"ファイル", "拡張子", "サイズ", "クラスタ", "長さ", "最終更新日"}));
        // Sizes and clusters keep their widths where the font allows and widen to show
        // a twelve-digit size and an eight-digit cluster count whole.
        const QList<int> folderWidths = Widths(f.ListView3);
        QCOMPARE(folderWidths.mid(0, 2), QList<int>({400, 50}));
        QCOMPARE(folderWidths.mid(4), QList<int>({40, 150}));
        const QFontMetrics font = f.ListView3->fontMetrics();
        QVERIFY(folderWidths[2] >= 80);
        QVERIFY(folderWidths[2] > font.horizontalAdvance(QStringLiteral("128001769472")));
        QVERIFY(folderWidths[3] >= 60);
        QVERIFY(folderWidths[3] > font.horizontalAdvance(QStringLiteral("62500864")));
        QCOMPARE(Widths(f.ListView1).mid(1, 3), folderWidths.mid(1, 3));
        QCOMPARE(RightAligned(f.ListView3), QList<bool>({false, false, true, true, true, false}));
        QCOMPARE(HeaderCaptions(f.ListView1),
                 QStringList({"ファイル", "拡張子", "サイズ", "クラスタ", "パス"}));
        QCOMPARE(RightAligned(f.ListView1), QList<bool>({false, false, true, true, false}));
        QCOMPARE(HeaderCaptions(f.ListView2), QStringList({"ファイル", "長さ", "パス"}));
        QCOMPARE(RightAligned(f.ListView2), QList<bool>({false, false, false}));
        QCOMPARE(f.ListView2->columnWidth(1), 50);

        // The auto-size columns share the free width and follow the list's width.
        for (int grow : {0, 137}) {
            f.resize(f.width() + grow, f.height());
            const int client = f.ListView1->viewport()->width();
            const int fixed = f.ListView1->columnWidth(1) + f.ListView1->columnWidth(2) +
                              f.ListView1->columnWidth(3);
            QTRY_COMPARE(f.ListView1->columnWidth(0) + f.ListView1->columnWidth(4), client - fixed);
            QVERIFY(f.ListView1->columnWidth(0) - f.ListView1->columnWidth(4) <= 1);
            QCOMPARE(f.ListView1->columnWidth(1), 50);
            QCOMPARE(f.ListView2->columnWidth(0) + f.ListView2->columnWidth(2),
                     f.ListView2->viewport()->width() - 50);
        }
    }

    void autoSizeColumnsShareTheRest_data() {
        QTest::addColumn<int>("client");
        QTest::addColumn<QList<int>>("widths");
        QTest::newRow("even") << 500 << QList<int>({155, 50, 80, 60, 155});
        QTest::newRow("odd: leftmost takes the remainder")
            << 501 << QList<int>({156, 50, 80, 60, 155});
        QTest::newRow("no room left") << 100 << QList<int>({0, 50, 80, 60, 0});
    }
    void autoSizeColumnsShareTheRest() {
        QFETCH(int, client);
        QFETCH(QList<int>, widths);
        const std::vector<ColumnSpec> columns{{"a", 0}, {"b", 50}, {"c", 80}, {"d", 60}, {"e", 0}};
        const std::vector<int> got = ColumnWidths(columns, client);
        QCOMPARE(QList<int>(got.begin(), got.end()), widths);
    }

    void numberColumnsWidenOnlyForWideDigits() {
        const std::vector<ColumnSpec> columns{
            {"name", 0}, {"bytes", 80, Qt::AlignRight, 12}, {"length", 40, Qt::AlignRight}};
        QFont narrow(QStringLiteral("ＭＳ Ｐゴシック"));
        narrow.setPixelSize(6);
        QFont wide = narrow;
        wide.setPixelSize(24);
        const std::vector<ColumnSpec> kept = WidenForFigures(columns, narrow, 8);
        QCOMPARE(kept[1].width, 80);
        const std::vector<ColumnSpec> widened = WidenForFigures(columns, wide, 8);
        QCOMPARE(widened[1].width,
                 qCeil(QFontMetricsF(wide).horizontalAdvance(QStringLiteral("000000000000"))) + 8);
        QCOMPARE(widened[0].width, 0); // auto-size and text columns are left alone
        QCOMPARE(widened[2].width, 40);
    }

    void listsShowRowsLikeReports() {
        TForm1& f = m_fixture->Form();
        for (const QTableView* v : {f.ListView1, f.ListView2, f.ListView3}) {
            QVERIFY(v->showGrid());
            QCOMPARE(v->selectionBehavior(), QAbstractItemView::SelectRows);
            QCOMPARE(v->editTriggers(), QAbstractItemView::NoEditTriggers);
            QVERIFY(!v->verticalHeader()->isVisible());
            QCOMPARE(v->iconSize(), QSize(16, 16));
        }
        QCOMPARE(f.ListView1->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(f.ListView3->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(f.ListView2->selectionMode(), QAbstractItemView::SingleSelection);
    }

    void hintsAndAccessibleNames() {
        TForm1& f = m_fixture->Form();
        const QStringList hints{"ファイル、フォルダをウェルに登録します", "フォルダを選択します",
                                "更新（再スキャン)", "ウェルのクラスタサイズを再計算します",
                                "ウェルの登録内容をクリアします"};
        QToolButton* buttons[] = {f.ToolButton1, f.ToolButton2, f.ToolButton3, f.ToolButton4,
                                  f.ToolButton5};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(buttons[i]->toolTip(), hints[i]);
            QCOMPARE(buttons[i]->accessibleName(), hints[i]);
            QVERIFY(!buttons[i]->icon().isNull());
            QVERIFY(buttons[i]->text().isEmpty() ||
                    buttons[i]->toolButtonStyle() == Qt::ToolButtonIconOnly);
            QCOMPARE(buttons[i]->focusPolicy(), Qt::NoFocus);
            if (i > 0)
                QCOMPARE(buttons[i]->x() - buttons[i - 1]->x(), 23);
        }
        QCOMPARE(f.Image1->toolTip(),
                 QStringLiteral("このアイコンをライティングソフトのウェルにドロップしてください"));
        QCOMPARE(f.Image1->pixmap().deviceIndependentSize(), QSizeF(32, 32));
        const std::pair<QWidget*, const char*> names[] = {
            {f.ListView3, "フォルダリスト"}, {f.ListView1, "ウェル"},
            {f.ListView2, "長いファイル名"}, {f.Edit1, "フォルダ"},
            {f.ComboBox1, "ディスク"},       {f.Edit2, "ファイル名の修正"},
            {f.Image1, "ドラッグアイコン"},  {f.ProgressBar1, "使用率"}};
        for (const auto& [widget, name] : names)
            QCOMPARE(widget->accessibleName(), QString::fromUtf8(name));
    }

    void menuEntries() {
        TForm1& f = m_fixture->Form();
        const QList<QAction*> menus = f.menuBar()->actions();
        QCOMPARE(menus.size(), 2);
        QCOMPARE(menus[0]->menu(), f.N1);
        QCOMPARE(menus[1]->menu(), f.N2);
        QCOMPARE(f.N1->title(), QStringLiteral("ファイルリスト(&L)"));
        QCOMPARE(f.N2->title(), QStringLiteral("ウェル(&W)"));
        QCOMPARE(f.N1->actions(), QList<QAction*>({f.Post1, f.N5, f.N6}));
        QCOMPARE(f.N2->actions(), QList<QAction*>({f.N3, f.N4, f.N7, f.PlanDiscs1, f.FillDisc1}));
        const std::pair<QAction*, const char*> entries[] = {{f.Post1, "ウェル登録"},
                                                            {f.N5, "フォルダ選択"},
                                                            {f.N6, "更新(再スキャン)"},
                                                            {f.N3, "クラスタ再計算"},
                                                            {f.N4, "クリア(&C)"},
                                                            {f.N7, "ディスクの検査…"},
                                                            {f.PlanDiscs1, "複数ディスクに分ける…"},
                                                            {f.FillDisc1, "空きを埋める…"}};
        for (const auto& [action, caption] : entries) {
            QCOMPARE(action->text(), QString::fromUtf8(caption));
            QVERIFY(action->shortcut().isEmpty());
            QVERIFY(action->isEnabled());
        }
    }

    void menuEntryAndToolButtonRunOneHandler() {
        // Choose folder: both ask the chooser.
        TForm1& f = m_fixture->Form();
        QVERIFY(Handled(f, [&] { f.ToolButton2->click(); }));
        f.N5->trigger();
        QCOMPARE(m_fixture->ChooserCalls(), 2);

        // Rescan: both list the folder box, whose text gains its "/".
        QTemporaryDir dir;
        MakeFile(dir.filePath("a"), 1);
        for (const auto& rescan : {std::function<void()>([&] { f.ToolButton3->click(); }),
                                   std::function<void()>([&] { f.N6->trigger(); })}) {
            f.Workspace().folderList.rows.clear();
            f.Edit1->setText(dir.path());
            QVERIFY(Handled(f, rescan));
            QCOMPARE(f.ListView3->model()->rowCount(), 1);
            QCOMPARE(f.Edit1->text(), dir.path() + "/");
        }
    }

    void tabOrder() {
        TForm1& f = m_fixture->Form();
        f.Panel2->show();
        const QList<QWidget*> wanted{f.ListView1, f.Edit1,     f.ListView3,
                                     f.ComboBox1, f.ListView2, f.Edit2};
        QList<QWidget*> seen;
        QWidget* w = f.ListView1;
        for (int step = 0; step < 200 && seen.size() < wanted.size(); ++step) {
            QWidget* named = w == f.ComboBox1->lineEdit() ? f.ComboBox1 : w;
            if (wanted.contains(named) && !seen.contains(named) &&
                (named->focusPolicy() & Qt::TabFocus))
                seen << named;
            w = w->nextInFocusChain();
        }
        QCOMPARE(seen, wanted);

        // Tab leaves a list that holds rows instead of walking its cells.
        for (QTableView* list : {f.ListView1, f.ListView3, f.ListView2})
            QVERIFY(!list->tabKeyNavigation());
    }

    void aLongStatusLineNeverWidensTheWindow() {
        TForm1& f = m_fixture->Form();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const int width = f.width();
        f.StatusLabel->setText(QString(400, QLatin1Char('8')));
        QCoreApplication::processEvents();
        QCOMPARE(f.width(), width);
        QVERIFY(f.minimumSizeHint().width() < width);
    }

    void onlyTheWindowTakesDrops() {
        TForm1& f = m_fixture->Form();
        QVERIFY(f.acceptDrops());
        for (const QWidget* child : f.findChildren<QWidget*>())
            QVERIFY2(!child->acceptDrops(), qPrintable(child->objectName()));
    }

private:
    std::unique_ptr<WindowFixture> m_fixture;
};

QTEST_MAIN(WindowLayoutTest)
#include "test_window_layout.moc"
