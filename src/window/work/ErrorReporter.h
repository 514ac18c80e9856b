#pragma once
// The one place that runs handlers and shows the program's message boxes. Every box
// goes through a replaceable seam; tests install a recorder.

#include "window/seams/MessageBoxSeam.h"

#include <QString>

#include <functional>
#include <memory>

class ErrorReporter {
public:
    explicit ErrorReporter(QWidget* parent);

    void SetSeam(std::unique_ptr<MessageBoxSeam> seam) { m_seam = std::move(seam); }
    // Runs with the text of every box once it is closed; none by default, and no text is
    // kept otherwise. The tests' state file hooks in here.
    void SetAfterMessage(std::function<void(const QString& text)> hook) {
        m_afterMessage = std::move(hook);
    }

    // Runs handler; a ketrilo::KetriloError or std::exception it throws is shown as an
    // error box. Returns false when the handler failed.
    bool Run(const std::function<void()>& handler);

    // The error box for message, with "." appended by the top-level rule.
    void ShowError(const QString& message);
    void ShowInfo(const QString& text);
    void ShowConfirm(QWidget* parent, const QString& text);

private:
    void Show(QWidget* parent, MessageKind kind, const QString& text);

    QWidget* m_parent;
    std::unique_ptr<MessageBoxSeam> m_seam;
    std::function<void(const QString&)> m_afterMessage;
};
