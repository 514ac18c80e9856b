#pragma once
// Runs a long piece of work (a walk) on a worker thread while the window goes on
// painting. The window takes no input meanwhile; after half a second a ProgressDisplay
// holds it, and Escape or its button cancels. The work computes into results of its own,
// which the caller applies on the window's thread only when Run says it finished.

#include <QObject>

#include <functional>

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
    // program ending). An error the work throws is thrown again here.
    bool Run(const std::function<void(ketrilo::WorkProgress&)>& work);

    [[nodiscard]] bool Running() const { return m_progress != nullptr; }

    // Stops the running work and closes the window once it has stopped.
    void CloseWindowAfterwards();

    static constexpr int DisplayDelayMs = 500;
    static constexpr int RefreshMs = 100;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    ketrilo::WorkProgress* m_progress = nullptr; // set while work runs
    QWidget* m_display = nullptr;
    bool m_closeWindow = false;
};
