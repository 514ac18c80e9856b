#include "window/widgets/AnchoredPanel.h"

AnchoredPanel::AnchoredPanel(QSize designSize, QWidget* parent)
    : QFrame(parent), m_designSize(designSize) {}

void AnchoredPanel::Place(QWidget* child, QRect designRect, Qt::Edges anchors) {
    m_placements.push_back({child, designRect, anchors});
    child->setGeometry(RectFor(m_placements.back()));
}

void AnchoredPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    for (const Placement& p : m_placements)
        p.child->setGeometry(RectFor(p));
}

QRect AnchoredPanel::RectFor(const Placement& p) const {
    const int dw = width() - m_designSize.width();
    const int dh = height() - m_designSize.height();
    QRect r = p.designRect;
    // An edge anchored on both sides stretches; anchored right or bottom only, it moves.
    if (p.anchors & Qt::RightEdge) {
        if (p.anchors & Qt::LeftEdge)
            r.setWidth(r.width() + dw);
        else
            r.moveLeft(r.left() + dw);
    }
    if (p.anchors & Qt::BottomEdge) {
        if (p.anchors & Qt::TopEdge)
            r.setHeight(r.height() + dh);
        else
            r.moveTop(r.top() + dh);
    }
    return r;
}
