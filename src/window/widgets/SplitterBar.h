#pragma once
// A 5-pixel bar between docked controls: dragging it changes the height of one
// neighbour (target), taking the room from or giving it to the filling control.

#include <QWidget>

class SplitterBar final : public QWidget {
    Q_OBJECT

public:
    // Which side of the bar the target stands on: above (it grows when the bar moves
    // down) or below (it grows when the bar moves up).
    enum class TargetSide { Above, Below };

    SplitterBar(QWidget* target, QWidget* filler, TargetSide side, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    static constexpr int MinSize = 30; // neither neighbour shrinks below this

    QWidget* m_target;
    QWidget* m_filler;
    TargetSide m_side;
    bool m_dragging = false;
    int m_pressY = 0;
    int m_startHeight = 0;
    int m_maxHeight = 0;
};
