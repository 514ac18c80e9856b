#pragma once
// Runs a long piece of work (a walk) on a worker thread while the window goes on
// painting. The window takes no input meanwhile (files dropped on it are refused and the
// user is told once the work has ended); after half a second a ProgressDisplay shows over
// it, and Escape or its button cancels. The work computes into results of its own, which
// a continuation applies on the window's thread once the work has ended: no event loop
// turns inside the handler that started it, so nothing else runs in its middle.

#include <QObject>
#include <QString>

#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <utility>

class QDropEvent;
class QWidget;

namespace ketrilo {
class WorkProgress;
}

// How a run ended, as its continuation learns it.
class WorkEnding {
public:
    WorkEnding(bool cancelled, std::exception_ptr failure)
        : m_cancelled(cancelled), m_failure(std::move(failure)) {}

    // True when the work finished, false when it was cancelled (by the user, by closing
    // the window, or by the program ending). An error the work threw is thrown again here.
    [[nodiscard]] bool Finished() const {
        if (m_failure && !m_cancelled)
            std::rethrow_exception(m_failure);
        return !m_cancelled;
    }

private:
    bool m_cancelled;
    std::exception_ptr m_failure;
};

class LongWork final : public QObject {
    Q_OBJECT

public:
    using Work = std::function<void(ketrilo::WorkProgress&)>;
    using Continuation = std::function<void(const WorkEnding&)>;

    explicit LongWork(QWidget* window);
    // Work still running is stopped and waited for; its continuation does not run.
    ~LongWork() override;

    // Starts work(progress) on a worker thread and returns at once. then(ending) runs on
    // the window's thread once the work has ended, the display has gone and the keyboard
    // focus is back where it was. Work asked for while other work runs starts once that
    // has ended and its continuation has run.
    void Run(Work work, Continuation then);

    // True from the start of work until it has ended (its continuation not yet run).
    [[nodiscard]] bool Running() const { return m_run != nullptr; }

    // Stops the running work and closes the window once it has stopped.
    void CloseWindowAfterwards();

    static constexpr int DisplayDelayMs = 500;
    static constexpr int RefreshMs = 100;

signals:
    // Files were dropped while work ran and were not taken: the first one's path and how
    // many items the drops carried. Sent once the work has ended.
    void DropsRefused(const QString& firstPath, qsizetype items);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Ongoing;
    struct Waiting {
        Work work;
        Continuation then;
    };

    void Start(Waiting next);
    // The worker has ended: the window is given back and the continuation runs.
    void Finish();
    // Stops the worker, lets input through again and takes the display away.
    std::unique_ptr<Ongoing> Stop();
    // True when watched is the display or one of its widgets.
    [[nodiscard]] bool IsDisplays(QObject* watched) const;
    // A drop of files is let in, so that it can be refused with a word rather than
    // silently; it is refused to the program that dragged.
    void RefuseDrop(QDropEvent* event);

    QWidget* m_window;
    std::unique_ptr<Ongoing> m_run; // set while work runs
    std::deque<Waiting> m_waiting;  // work asked for meanwhile, in order
    bool m_closeWindow = false;
    QString m_refusedPath;        // the first path of the drops refused during this run
    qsizetype m_refusedItems = 0; // every item they carried
};
