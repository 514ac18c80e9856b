#pragma once
// The one place that runs handlers and shows the program's message boxes. Every box
// goes through a replaceable seam; tests install a recorder.

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

enum class MessageKind {
    Error,   // top-level error: title "Ketrilo", stop icon
    Info,    // the program's own message: title "Ketrilo", one OK button
    Confirm, // the folder chooser's notice: title "確認", question icon, one OK button
};

class MessageBoxSeam {
public:
    virtual ~MessageBoxSeam() = default;
    // Shows text modally over parent and returns when the user has closed it.
    virtual void Show(QWidget* parent, MessageKind kind, const QString& text) = 0;
};

// The real boxes, through QMessageBox.
class QtMessageBoxes final : public MessageBoxSeam {
public:
    void Show(QWidget* parent, MessageKind kind, const QString& text) override;
};

class ErrorReporter {
public:
    explicit ErrorReporter(QWidget* parent);

    void SetSeam(std::unique_ptr<MessageBoxSeam> seam) { m_seam = std::move(seam); }
    // Runs after every box shown (the state dump hooks in here).
    void SetAfterMessage(std::function<void()> hook) { m_afterMessage = std::move(hook); }

    // Runs handler; a ketrilo::KetriloError or std::exception it throws is shown as an
    // error box. Returns false when the handler failed.
    bool Run(const std::function<void()>& handler);

    // The error box for message, with "." appended by the top-level rule.
    void ShowError(const QString& message);
    void ShowInfo(const QString& text);
    void ShowConfirm(QWidget* parent, const QString& text);

    // Every text shown so far, in order.
    [[nodiscard]] const QStringList& Shown() const { return m_shown; }

private:
    void Show(QWidget* parent, MessageKind kind, const QString& text);

    QWidget* m_parent;
    std::unique_ptr<MessageBoxSeam> m_seam;
    std::function<void()> m_afterMessage;
    QStringList m_shown;
};
