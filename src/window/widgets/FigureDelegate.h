#pragma once
// Paints the cells of the report lists. A right-aligned number is painted without the
// blanks that pad it to its fixed width, and a figure wider than its cell is painted in
// a font just small enough to show it whole: a cut figure reads as a wrong one.

#include <QStyledItemDelegate>

class FigureDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Room the style leaves on either side of a cell's text.
    [[nodiscard]] static int TextMargin(const QWidget* view);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
