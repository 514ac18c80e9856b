#include "ErrorReporter.h"

#include "core/KetriloError.h"

#include <QMessageBox>

void QtMessageBoxes::Show(QWidget* parent, MessageKind kind, const QString& text) {
    const QString title =
        kind == MessageKind::Confirm ? QStringLiteral("確認") : QStringLiteral("Ketrilo");
    const auto icon = kind == MessageKind::Error     ? QMessageBox::Critical
                      : kind == MessageKind::Confirm ? QMessageBox::Question
                                                     : QMessageBox::NoIcon;
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    // Messages carry names and profile texts: shown as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

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
    m_shown.append(text);
    m_seam->Show(parent, kind, text);
    if (m_afterMessage)
        m_afterMessage();
}
