// TForm1's wiring: every trigger to its handler through Run, and the one place where
// the core's changes reach the views.
#include "window/Unit1.h"

#include "core/image/DiscImageStatus.h"
#include "window/PathText.h"
#include "window/dialogs/PlanDialog.h"
#include "window/models/FolderListModel.h"
#include "window/models/LongNameModel.h"
#include "window/models/WellModel.h"
#include "window/widgets/DragHandle.h"
#include "window/work/DiscImageWatcher.h"
#include "window/work/LongWork.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include <utility>

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
    connect(FillDisc1, &QAction::triggered, this, [this] { Run([this] { FillDisc1Click(); }); });
    // Told once the handler that ran the work has ended, so that the box follows its own.
    connect(
        m_longWork, &LongWork::DropsRefused, this,
        [this](const QString& firstPath, qsizetype items) {
            Run([&] { DropsRefusedWhileBusy(firstPath, items); });
        },
        Qt::QueuedConnection);

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
    ConnectImageWatcher();

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
    // A handler may run inside another (a signal of a control it changed).
    const bool outerContinues = std::exchange(m_handlerContinues, false);
    m_reporter.Run(handler);
    if (std::exchange(m_handlerContinues, outerContinues))
        return; // it ends in its continuation
    ++m_handlersEnded;
    TellWatcher();
}

void TForm1::RunLong(std::function<void(ketrilo::WorkProgress&)> work,
                     std::function<void()> apply) {
    m_longWork->Run(std::move(work), [this, apply = std::move(apply)](const WorkEnding& ending) {
        Run([&] {
            if (ending.Finished())
                apply();
        });
    });
    m_handlerContinues = true;
}

void TForm1::TellWatcher() const {
    if (m_watcher)
        m_watcher();
}

void TForm1::TellWatcherSoon(QObject* context) const {
    if (m_watcher)
        QTimer::singleShot(0, context, [this] { TellWatcher(); });
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
    TellWatcherSoon(this);
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
        m_discImageWatcher->Request(ketrilo::ImageItemsOf(m_ws.well));
    // An open plan holds for the well, the names and the disc it was made of; only taking
    // one of its own discs into the well leaves it true.
    if (m_planDialog != nullptr && !m_loadingPlannedDisc &&
        (changes.well.Any() || changes.longNames.Any() ||
         m_ws.capacity.DiscCapacityClusters != m_planDialog->PlannedCapacity()))
        m_planDialog->MarkStale();
    if (changes.capacity) {
        // An emptied well shows an empty gauge even where the disc in force has no
        // capacity and the status cannot be computed.
        if (changes.well.replaced && m_ws.well.Size() == 0)
            ProgressBar1->setValue(0);
        UpdateCapacityStatus();
    }
}
