// TForm1's drag-out of the well through the drag handle.
#include "window/Unit1.h"

#include "core/workspace/DragOut.h"
#include "window/widgets/DragHandle.h"

#include <QTimer>

void TForm1::Image1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, int X, int Y) {
    if (button != Qt::LeftButton)
        return;
    FDragStartPos = QPoint(X, Y);
}

void TForm1::Image1MouseMove(Qt::KeyboardModifiers, int X, int Y) {
    if (m_ws.well.Size() == 0 || !Image1->IsPressed())
        return;
    if (!ketrilo::DragThresholdReached({FDragStartPos.x(), FDragStartPos.y()}, {X, Y}))
        return;
    // One drag (or one error) per press: further moves with the button held do nothing.
    Image1->EndPress();
    const std::vector<std::string> paths = ketrilo::DragPathList(m_ws.well);
    ketrilo::CheckDragPaths(paths);
    ketrilo::BeginDragOut(m_ws);
    m_dragOut->RunCopyDrag(Image1, paths);
    // A drop of this drag onto the window is handled queued, after the drag has let go;
    // the flag is cleared behind it, so that drop is still refused and the next is not.
    QTimer::singleShot(0, this, [this] { ketrilo::EndDragOut(m_ws); });
}
