#include "LongWork.h"

#include "ProgressDisplay.h"
#include "core/WorkCancelled.h"
#include "core/WorkProgress.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <exception>
#include <memory>

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
    m_progress = nullptr;
    m_display = nullptr;
    if (m_closeWindow) {
        m_closeWindow = false;
        QTimer::singleShot(0, m_window, &QWidget::close);
    }
    if (failure && !progress.Cancelled())
        std::rethrow_exception(failure);
    return !progress.Cancelled();
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
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr && widget->window() == m_display)
        return false;
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        m_progress->Cancel();
    return true;
}
