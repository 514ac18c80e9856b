// TForm1's wiring: every trigger to its handler through Run, and the one place where
// the core's changes reach the views.
#include "Unit1.h"

#include "AnchoredPanel.h"
#include "DiscCheckDialog.h"
#include "DragHandle.h"
#include "FolderListModel.h"
#include "ImageWatcher.h"
#include "LongNameModel.h"
#include "LongWork.h"
#include "PathText.h"
#include "StateDump.h"
#include "WellModel.h"
#include "core/ImageStatus.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

void TForm1::ConnectHandlers() {
    const struct {
        QToolButton* button;
        QAction* menuEntry;
        void (TForm1::*handler)();
    } commands[] = {
        {ToolButton1, Post1, &TForm1::ToolButton1Click},
        {ToolButton2, N5, &TForm1::ToolButton2Click},
        {ToolButton3, N6, &TForm1::ToolButton3Click},
        {ToolButton4, N3, &TForm1::ToolButton4Click},
        {ToolButton5, N4, &TForm1::ToolButton5Click},
    };
    for (const auto& c : commands) {
        const auto run = [this, handler = c.handler] {
            Run([this, handler] { (this->*handler)(); });
        };
        connect(c.button, &QToolButton::clicked, this, run);
        connect(c.menuEntry, &QAction::triggered, this, run);
    }

    connect(PlanDiscs1, &QAction::triggered, this, [this] { Run([this] { PlanDiscs1Click(); }); });

    connect(ListView1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { Run([this, column] { ListView1ColumnClick(column); }); });
    connect(ListView3->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { Run([this, column] { ListView3ColumnClick(column); }); });
    ListView1->installEventFilter(this);
    ListView2->viewport()->installEventFilter(this);
    Edit2->installEventFilter(this);
    connect(Edit2, &QLineEdit::textChanged, this, [this] { Run([this] { Edit2Change(); }); });

    connect(Image1, &DragHandle::Pressed, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
                Run([=, this] { Image1MouseDown(button, shift, x, y); });
            });
    connect(Image1, &DragHandle::Moved, this, [this](Qt::KeyboardModifiers shift, int x, int y) {
        Run([=, this] { Image1MouseMove(shift, x, y); });
    });

    connect(N7, &QAction::triggered, this, [this] { Run([this] { N7Click(); }); });
    connect(m_imageWatcher, &ImageWatcher::Changed, this, [this] {
        ShowImageStatus();
        WriteStateDump();
    });

    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TForm1::QueueComboBox1Change);
    connect(ComboBox1, &QComboBox::editTextChanged, this, &TForm1::QueueComboBox1Change);
    connect(ComboBox1, &QComboBox::activated, this, &TForm1::QueueComboBox1Change);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == ListView1 || watched == Edit2)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int code = key->key();
        const Qt::KeyboardModifiers shift = key->modifiers();
        if (watched == ListView1)
            Run([=, this] { ListView1KeyDown(code, shift); });
        else
            Run([=, this] { Edit2KeyDown(code, shift); });
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == ListView2->viewport()) {
        Run([this] { ListView2DblClick(); });
    }
    // The control goes on to handle the event as usual.
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::RefuseChildDrops() {
    // A line edit would take dropped files as text; the window handles every drop.
    for (QWidget* child : findChildren<QWidget*>())
        child->setAcceptDrops(false);
}

void TForm1::Run(const std::function<void()>& handler) {
    m_reporter.Run(handler);
    WriteStateDump();
}

void TForm1::WriteStateDump() const {
    const QString path = StateDumpPath();
    if (path.isEmpty())
        return;
    QList<const QWidget*> places = {Image1, ListView1, ListView3, Panel1, ToolButton3};
    QString plan = QStringLiteral("gauge\t%1\n").arg(ProgressBar1->value());
    if (m_planDialog != nullptr && m_planDialog->isVisible()) {
        places << static_cast<const QWidget*>(m_planDialog->Discs)
               << static_cast<const QWidget*>(m_planDialog->LoadButton);
        for (const QString& row : m_planDialog->DiscRowTexts())
            plan += QStringLiteral("plan\t") + row + QLatin1Char('\n');
    }
    WriteStateDumpFile(
        path, StateDumpText(Edit1->text(), m_ws, StatusLabel->text(), m_reporter.Shown()) + plan +
                  WidgetPlacesText(places) + QStringLiteral("image\t") + ImageStatusLabel->text() +
                  '\n' + (m_checkDialog != nullptr ? m_checkDialog->RowsText() : QString()));
}

void TForm1::closeEvent(QCloseEvent* event) {
    // A walk stops first; the window closes as soon as it has.
    if (m_longWork->Running()) {
        m_longWork->CloseWindowAfterwards();
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The widgets' screen positions are known once the window is on screen.
    QTimer::singleShot(0, this, [this] { WriteStateDump(); });
}

void TForm1::ShowChanges(const ketrilo::Changes& changes) {
    m_folderModel->Show(changes.folderList);
    m_wellModel->Show(changes.well);
    m_longNameModel->Show(changes.longNames);
    if (changes.listedFolder)
        Edit1->setText(TextOfBytes(m_ws.folderList.folder));
    // Whatever changed the well's rows, or through a rename the names inside its items,
    // changes its image.
    if (changes.well.Any() || changes.longNames.Any())
        m_imageWatcher->Request(ketrilo::ImageItemsOf(m_ws.well));
    if (changes.capacity)
        UpdateCapacityStatus();
}
