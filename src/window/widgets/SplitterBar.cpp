#include "window/widgets/SplitterBar.h"

#include <QMouseEvent>

#include <algorithm>

SplitterBar::SplitterBar(QWidget* target, QWidget* filler, TargetSide side, QWidget* parent)
    : QWidget(parent), m_target(target), m_filler(filler), m_side(side) {
    setFixedHeight(5);
    setCursor(Qt::SizeVerCursor);
    setAutoFillBackground(true);
}

void SplitterBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_pressY = event->globalPosition().toPoint().y();
    m_startHeight = m_target->height();
    m_maxHeight = m_startHeight + std::max(0, m_filler->height() - MinSize);
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging)
        return;
    const int moved = event->globalPosition().toPoint().y() - m_pressY;
    const int wanted = m_startHeight + (m_side == TargetSide::Above ? moved : -moved);
    m_target->setFixedHeight(std::clamp(wanted, std::min(MinSize, m_startHeight), m_maxHeight));
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
}
