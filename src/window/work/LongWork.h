#pragma once
// Runs a long piece of work (a walk) on a worker thread while the window goes on
// painting. The window takes no input meanwhile (files dropped on it are refused and the
// user is told once the work has ended); after half a second a ProgressDisplay shows over
// it, and Escape or its button cancels. The work computes into results of its own,
// which the caller applies on the window's thread only when Run says it finished.

#include <QObject>
#include <QString>

#include <functional>

class QDropEvent;
class QWidget;

namespace ketrilo {
class WorkProgress;
}

class LongWork final : public QObject {
    Q_OBJECT

public:
    explicit LongWork(QWidget* window);

    // Runs work(progress) on a worker thread and returns when it has ended: true when it
    // finished, false when it was cancelled (by the user, by closing the window, or by the
    // program ending). An error the work throws is thrown again here. The keyboard focus
    // goes back to where it was.
    bool Run(const std::function<void(ketrilo::WorkProgress&)>& work);

    [[nodiscard]] bool Running() const { return m_progress != nullptr; }

    // Stops the running work and closes the window once it has stopped.
    void CloseWindowAfterwards();

    static constexpr int DisplayDelayMs = 500;
    static constexpr int RefreshMs = 100;

signals:
    // Files were dropped while work ran and were not taken: the first one's path and how
    // many items the drops carried. Sent once Run has ended.
    void DropsRefused(const QString& firstPath, qsizetype items);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when watched is the display or one of its widgets.
    [[nodiscard]] bool IsDisplays(QObject* watched) const;
    // A drop of files is let in, so that it can be refused with a word rather than
    // silently; it is refused to the program that dragged.
    void RefuseDrop(QDropEvent* event);

    QWidget* m_window;
    ketrilo::WorkProgress* m_progress = nullptr; // set while work runs
    QWidget* m_display = nullptr;
    bool m_closeWindow = false;
    QString m_refusedPath;        // the first path of the drops refused during this run
    qsizetype m_refusedItems = 0; // every item they carried
};
