#include "window/work/LongWork.h"

#include "core/base/WorkCancelled.h"
#include "core/base/WorkProgress.h"
#include "window/DroppedPaths.h"
#include "window/PathText.h"
#include "window/work/ProgressDisplay.h"

#include <QApplication>
#include <QDropEvent>
#include <QEvent>
#include <QEventLoop>
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

LongWork::LongWork(QWidget* window) : QObject(window), m_window(window) {}

bool LongWork::Run(const std::function<void(ketrilo::WorkProgress&)>& work) {
    ketrilo::WorkProgress progress;
    std::exception_ptr failure;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            work(progress);
        } catch (const ketrilo::WorkCancelled&) {
            // the caller sees the cancel request
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QEventLoop loop;
    connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);

    ProgressDisplay display(progress, m_window);
    QTimer showLater;
    showLater.setSingleShot(true);
    connect(&showLater, &QTimer::timeout, &display, &QWidget::show);
    QTimer refresh;
    connect(&refresh, &QTimer::timeout, &display, &ProgressDisplay::Refresh);

    // The display takes the focus once it shows; the widget that had it gets it back.
    const QPointer<QWidget> focus = QApplication::focusWidget();
    m_progress = &progress;
    m_display = &display;
    QCoreApplication::instance()->installEventFilter(this);
    worker->start();
    showLater.start(DisplayDelayMs);
    refresh.start(RefreshMs);
    loop.exec();
    if (!worker->isFinished()) { // the program is ending
        progress.Cancel();
        worker->wait();
    }
    QCoreApplication::instance()->removeEventFilter(this);
    const bool displayHadFocus = display.isActiveWindow();
    display.hide();
    m_progress = nullptr;
    m_display = nullptr;
    if (displayHadFocus && focus != nullptr && focus->isVisible()) {
        focus->activateWindow();
        focus->setFocus(Qt::ActiveWindowFocusReason);
    }
    const qsizetype refusedItems = std::exchange(m_refusedItems, 0);
    const QString refusedPath = std::exchange(m_refusedPath, QString());
    if (refusedItems > 0 && !m_closeWindow) // a closing window has no one left to tell
        emit DropsRefused(refusedPath, refusedItems);
    if (m_closeWindow) {
        m_closeWindow = false;
        QTimer::singleShot(0, m_window, &QWidget::close);
    }
    if (failure && !progress.Cancelled())
        std::rethrow_exception(failure);
    return !progress.Cancelled();
}

bool LongWork::IsDisplays(QObject* watched) const {
    // Real input reaches the display's native window before the widget under the
    // pointer or with the focus: both must pass for a click or a key to reach its button.
    if (auto* widget = qobject_cast<QWidget*>(watched))
        return widget->window() == m_display;
    return watched != nullptr && watched == m_display->windowHandle();
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
    m_progress->Cancel();
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
        m_progress->Cancel();
    return true;
}
