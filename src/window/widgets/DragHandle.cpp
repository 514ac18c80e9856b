#include "window/widgets/DragHandle.h"

#include <QMouseEvent>

DragHandle::DragHandle(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
}

void DragHandle::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    const QPoint at = event->position().toPoint();
    emit Pressed(event->button(), event->modifiers(), at.x(), at.y());
}

void DragHandle::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit Moved(event->modifiers(), at.x(), at.y());
}

void DragHandle::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_pressed = false;
}
