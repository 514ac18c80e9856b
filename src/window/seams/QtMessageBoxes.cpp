#include "window/seams/QtMessageBoxes.h"

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
