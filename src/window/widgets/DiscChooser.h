#pragma once
// ComboBox1, the disc chooser: an editable combo box that shows a chosen name from its
// first letter (a line edit scrolls a long text to its end) and opens a list wide enough
// for every name, whatever the box's width.

#include <QComboBox>

class DiscChooser final : public QComboBox {
    Q_OBJECT

public:
    explicit DiscChooser(QWidget* parent);

    void showPopup() override;
};
