#include "StatusPanels.h"

#include <QFontMetricsF>

#include <cmath>

namespace {

// The image line's sizes: the window's font, and the least that is still read.
constexpr int SecondPixelSize = 12;
constexpr int SecondSmallestPixelSize = 7;
constexpr int Gap = 8;

// The width label needs to paint text whole at pixelSize.
int WidthAt(const FittingLabel* label, const QString& text, int pixelSize) {
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    const QMargins margins = label->contentsMargins();
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text))) +
           margins.left() + margins.right() + 2 * label->margin() + 1;
}

} // namespace

StatusPanels::StatusPanels(int largestPixelSize, int smallestPixelSize, QWidget* parent)
    : QWidget(parent), m_smallest(smallestPixelSize),
      m_first(new FittingLabel(largestPixelSize, smallestPixelSize, this)),
      m_second(new FittingLabel(SecondPixelSize, SecondSmallestPixelSize, this)) {
    for (FittingLabel* label : {m_first, m_second})
        connect(label, &FittingLabel::TextShown, this, &StatusPanels::Arrange);
}

void StatusPanels::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Arrange();
}

// The image line takes what it needs in its own font while the status line still fits
// in the rest at its smallest size; otherwise the status line takes what it needs at its
// smallest and the image line what is left.
void StatusPanels::Arrange() {
    const int all = width();
    const int second = WidthAt(m_second, m_second->text(), SecondPixelSize);
    const int firstSmallest = WidthAt(m_first, m_first->text(), m_smallest);
    const int first =
        firstSmallest <= all - Gap - second ? all - Gap - second : std::min(firstSmallest, all);
    m_first->setGeometry(0, 0, first, height());
    const int left = std::min(first + Gap, all);
    m_second->setGeometry(left, 0, all - left, height());
}
