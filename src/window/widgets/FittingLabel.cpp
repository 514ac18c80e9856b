#include "window/widgets/FittingLabel.h"

#include "window/widgets/FontFitting.h"

FittingLabel::FittingLabel(int largestPixelSize, int smallestPixelSize, QWidget* parent)
    : QLabel(parent), m_largest(largestPixelSize), m_smallest(smallestPixelSize) {
    // The text follows the label's width; it never asks for more.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    FitFont();
}

void FittingLabel::ShowText(const QString& text) {
    setText(text);
    setToolTip(text);
    setAccessibleName(text);
    FitFont();
    emit TextShown();
}

void FittingLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    FitFont();
}

void FittingLabel::FitFont() {
    QFont fitted = font();
    fitted.setPixelSize(
        FittingPixelSize(fitted, text(), contentsRect().width(), m_largest, m_smallest));
    if (fitted != font())
        setFont(fitted);
}
