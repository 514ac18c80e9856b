// TForm1's drag-out of the well through the drag handle.
#include "Unit1.h"

namespace {

class QtDragOut final : public DragOutSeam {
public:
    void RunCopyDrag(QWidget*, const QStringList&) override {}
};

} // namespace

std::unique_ptr<DragOutSeam> MakeQtDragOut() {
    return std::make_unique<QtDragOut>();
}

void TForm1::Image1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}

void TForm1::Image1MouseMove(Qt::KeyboardModifiers, int, int) {}
