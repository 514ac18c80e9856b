#pragma once
// The mouse buttons during a drag-out, answered by the drop source's rules: the right
// button down at any moment cancels (also one already down when the drag began, and at
// the left button's release), releasing the left button drops, and the middle button
// and the wheel play no part. Left to itself Qt drops on the release of any button and
// sees only the buttons' changes, not their state.

#include <QObject>

class DragOutButtons final : public QObject {
public:
    DragOutButtons() = default;
    ~DragOutButtons() override;
    DragOutButtons(const DragOutButtons&) = delete;
    DragOutButtons& operator=(const DragOutButtons&) = delete;

    // Starts answering for the drag QDrag::exec is running: call it from inside that
    // drag's loop, after the drag's own filter is in place, so that this one is asked
    // first. A right button already down cancels at once.
    void Watch();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
