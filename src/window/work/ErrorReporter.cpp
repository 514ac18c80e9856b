#include "window/work/ErrorReporter.h"

#include "core/base/KetriloError.h"
#include "window/seams/QtMessageBoxes.h"

ErrorReporter::ErrorReporter(QWidget* parent)
    : m_parent(parent), m_seam(std::make_unique<QtMessageBoxes>()) {}

bool ErrorReporter::Run(const std::function<void()>& handler) {
    QString failure;
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        // KetriloError is a std::exception too; both carry the message to show.
        failure = QString::fromUtf8(error.what());
    }
    ShowError(failure);
    return false;
}

void ErrorReporter::ShowError(const QString& message) {
    Show(m_parent, MessageKind::Error,
         QString::fromStdString(ketrilo::TopLevelErrorText(message.toStdString())));
}

void ErrorReporter::ShowInfo(const QString& text) {
    Show(m_parent, MessageKind::Info, text);
}

void ErrorReporter::ShowConfirm(QWidget* parent, const QString& text) {
    Show(parent, MessageKind::Confirm, text);
}

void ErrorReporter::Show(QWidget* parent, MessageKind kind, const QString& text) {
    m_seam->Show(parent, kind, text);
    if (m_afterMessage)
        m_afterMessage(text);
}
