#include "window/widgets/StatusPanels.h"

#include <QFontMetricsF>

#include <cmath>

namespace {

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

// The image line is as small as it gets from the start: the least the status line itself
// goes down to, so that a figure that says the disc is full is never the harder one to read.
StatusPanels::StatusPanels(int largestPixelSize, int smallestPixelSize, QWidget* parent)
    : QWidget(parent), m_smallest(smallestPixelSize),
      m_first(new FittingLabel(largestPixelSize, smallestPixelSize, this)),
      m_second(new FittingLabel(smallestPixelSize, smallestPixelSize, this)) {
    for (FittingLabel* label : {m_first, m_second})
        connect(label, &FittingLabel::TextShown, this, &StatusPanels::Arrange);
}

void StatusPanels::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Arrange();
}

// The image line takes what it needs while the status line still fits in the rest at its
// smallest size; otherwise each has a line of the whole width, the image line below.
void StatusPanels::Arrange() {
    const int all = width();
    const int second = WidthAt(m_second, m_second->text(), m_smallest);
    const int firstSmallest = WidthAt(m_first, m_first->text(), m_smallest);
    const bool beside = m_second->text().isEmpty() || firstSmallest <= all - Gap - second;
    const int extra = beside ? 0 : QFontMetrics(m_second->font()).height() + 2;
    const int firstHeight = height() - m_extraHeight;
    if (beside) {
        m_first->setGeometry(0, 0, all - Gap - second, firstHeight);
        m_second->setGeometry(all - second, 0, second, firstHeight);
    } else {
        m_first->setGeometry(0, 0, all, firstHeight);
        m_second->setGeometry(0, firstHeight, all, m_extraHeight);
    }
    if (extra != m_extraHeight) {
        m_extraHeight = extra;
        emit ExtraHeightWanted(extra);
    }
}
