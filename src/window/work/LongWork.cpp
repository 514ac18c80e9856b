#include "window/work/LongWork.h"

#include "core/base/WorkCancelled.h"
#include "core/base/WorkProgress.h"
#include "window/DroppedPaths.h"
#include "window/PathText.h"
#include "window/work/ProgressDisplay.h"

#include <QApplication>
#include <QDropEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// What a user does to start a command: taken from every widget but the display while
// work runs, so that nothing starts before the display holds the window.
bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

// One run: the worker, what it reports, and the display that shows it.
struct LongWork::Ongoing {
    ketrilo::WorkProgress progress;
    std::exception_ptr failure; // an error the work threw
    std::unique_ptr<QThread> worker;
    QPointer<ProgressDisplay> display; // gone early if the window goes first
    QTimer showLater;
    QTimer refresh;
    QPointer<QWidget> focus; // had the keyboard focus when the work started
    Continuation then;
};

LongWork::LongWork(QWidget* window) : QObject(window), m_window(window) {}

LongWork::~LongWork() {
    if (Running())
        Stop();
}

void LongWork::Run(Work work, Continuation then) {
    Waiting next{std::move(work), std::move(then)};
    if (Running())
        m_waiting.push_back(std::move(next));
    else
        Start(std::move(next));
}

void LongWork::Start(Waiting next) {
    auto run = std::make_unique<Ongoing>();
    Ongoing& r = *run;
    r.then = std::move(next.then);
    r.worker.reset(QThread::create([&r, work = std::move(next.work)] {
        try {
            work(r.progress);
        } catch (const ketrilo::WorkCancelled&) {
            // the continuation sees the cancel request
        } catch (...) {
            r.failure = std::current_exception();
        }
    }));
    connect(r.worker.get(), &QThread::finished, this, &LongWork::Finish);

    r.display = new ProgressDisplay(r.progress, m_window);
    r.showLater.setSingleShot(true);
    connect(&r.showLater, &QTimer::timeout, r.display, &QWidget::show);
    connect(&r.refresh, &QTimer::timeout, r.display, &ProgressDisplay::Refresh);

    // The display takes the focus once it shows; the widget that had it gets it back.
    r.focus = QApplication::focusWidget();
    m_run = std::move(run);
    QCoreApplication::instance()->installEventFilter(this);
    r.worker->start();
    r.showLater.start(DisplayDelayMs);
    r.refresh.start(RefreshMs);
}

std::unique_ptr<LongWork::Ongoing> LongWork::Stop() {
    if (!m_run->worker->isFinished()) { // the window is going
        m_run->progress.Cancel();
        m_run->worker->wait();
    }
    QCoreApplication::instance()->removeEventFilter(this);
    delete m_run->display;
    return std::move(m_run);
}

void LongWork::Finish() {
    m_run->worker->wait(); // it has sent finished; let it return
    const bool displayHadFocus = m_run->display != nullptr && m_run->display->isActiveWindow();
    const std::unique_ptr<Ongoing> run = Stop();
    if (displayHadFocus && run->focus != nullptr && run->focus->isVisible()) {
        run->focus->activateWindow();
        run->focus->setFocus(Qt::ActiveWindowFocusReason);
    }
    const qsizetype refusedItems = std::exchange(m_refusedItems, 0);
    const QString refusedPath = std::exchange(m_refusedPath, QString());
    const bool closing = std::exchange(m_closeWindow, false);
    if (refusedItems > 0 && !closing) // a closing window has no one left to tell
        emit DropsRefused(refusedPath, refusedItems);
    if (closing)
        QTimer::singleShot(0, m_window, &QWidget::close);
    run->then(WorkEnding(run->progress.Cancelled(), run->failure));
    // Work asked for meanwhile: none of it starts once the window is closing.
    while (!Running() && !m_waiting.empty()) {
        Waiting next = std::move(m_waiting.front());
        m_waiting.pop_front();
        if (!closing) {
            Start(std::move(next));
            return;
        }
        next.then(WorkEnding(true, nullptr));
    }
}

bool LongWork::IsDisplays(QObject* watched) const {
    // Real input reaches the display's native window before the widget under the
    // pointer or with the focus: both must pass for a click or a key to reach its button.
    if (auto* widget = qobject_cast<QWidget*>(watched))
        return widget->window() == m_run->display;
    return watched != nullptr && m_run->display != nullptr &&
           watched == m_run->display->windowHandle();
}

void LongWork::RefuseDrop(QDropEvent* event) {
    event->setDropAction(Qt::IgnoreAction);
    event->ignore();
    const std::optional<std::vector<std::string>> paths = DroppedPaths(event->mimeData());
    if (!paths)
        return;
    if (m_refusedItems == 0)
        m_refusedPath = TextOfBytes(paths->front());
    m_refusedItems += static_cast<qsizetype>(paths->size());
}

void LongWork::CloseWindowAfterwards() {
    if (!Running())
        return;
    m_closeWindow = true;
    m_run->progress.Cancel();
}

bool LongWork::eventFilter(QObject* watched, QEvent* event) {
    if (!IsUserInput(event->type()))
        return false;
    if (IsDisplays(watched))
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (DroppedPaths(drag->mimeData())) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop:
        RefuseDrop(static_cast<QDropEvent*>(event));
        return true;
    default:
        break;
    }
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        m_run->progress.Cancel();
    return true;
}
