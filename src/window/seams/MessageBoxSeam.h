#pragma once
// Where the program's message boxes go: the real ones, or a recorder in the tests.

#include <QString>

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
