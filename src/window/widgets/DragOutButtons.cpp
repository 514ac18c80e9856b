#include "window/widgets/DragOutButtons.h"

#include "core/workspace/DragOut.h"

#include <QDrag>
#include <QGuiApplication>
#include <QMouseEvent>

namespace {

uint32_t KeyState(Qt::MouseButtons buttons) {
    uint32_t state = 0;
    if (buttons & Qt::LeftButton)
        state |= ketrilo::MK_LBUTTON;
    if (buttons & Qt::RightButton)
        state |= ketrilo::MK_RBUTTON;
    return state;
}

} // namespace

DragOutButtons::~DragOutButtons() {
    qApp->removeEventFilter(this);
}

void DragOutButtons::Watch() {
    qApp->installEventFilter(this);
    if (ketrilo::QueryContinueDrag(false, KeyState(QGuiApplication::mouseButtons())) ==
        ketrilo::DRAGDROP_S_CANCEL)
        QDrag::cancel();
}

bool DragOutButtons::eventFilter(QObject*, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseMove)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    Qt::MouseButtons down = mouse->buttons();
    // A right button released now was down until now.
    if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::RightButton)
        down |= Qt::RightButton;
    switch (ketrilo::QueryContinueDrag(false, KeyState(down))) {
    case ketrilo::DRAGDROP_S_CANCEL:
        QDrag::cancel();
        return true;
    case ketrilo::DRAGDROP_S_DROP:
        return false; // the left button's release: the drag drops as usual
    default:
        // The drag goes on: another button's press or release must not end it.
        return type != QEvent::MouseMove;
    }
}
