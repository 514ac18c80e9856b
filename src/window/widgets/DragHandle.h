#pragma once
// Image1: the 32 x 32 drag handle. It keeps the pressed state of the left button
// (set by a press on it, cleared by the release or by EndPress) and reports presses
// and moves; while the button is held, moves outside it still reach it.

#include <QLabel>

class DragHandle final : public QLabel {
    Q_OBJECT

public:
    explicit DragHandle(QWidget* parent);

    [[nodiscard]] bool IsPressed() const { return m_pressed; }
    // Ends the pressed state as a left-button release would; moves do nothing from here.
    void EndPress() { m_pressed = false; }

signals:
    void Pressed(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void Moved(Qt::KeyboardModifiers shift, int x, int y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};
