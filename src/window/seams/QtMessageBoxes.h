#pragma once
// The real message boxes, through QMessageBox.

#include "window/seams/MessageBoxSeam.h"

class QtMessageBoxes final : public MessageBoxSeam {
public:
    void Show(QWidget* parent, MessageKind kind, const QString& text) override;
};
