#pragma once
// A panel whose children keep the distances to the edges they are anchored to, as
// laid out for the panel's design size; unanchored edges keep their offset from the
// left and top.

#include <QFrame>
#include <QRect>
#include <QSize>

#include <vector>

class AnchoredPanel final : public QFrame {
    Q_OBJECT

public:
    AnchoredPanel(QSize designSize, QWidget* parent);

    // Places child at designRect; anchors: the edges whose distance stays fixed.
    void Place(QWidget* child, QRect designRect, Qt::Edges anchors = Qt::LeftEdge | Qt::TopEdge);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Placement {
        QWidget* child;
        QRect designRect;
        Qt::Edges anchors;
    };
    [[nodiscard]] QRect RectFor(const Placement& p) const;

    QSize m_designSize;
    std::vector<Placement> m_placements;
};
