#pragma once
// ToolBar1: a tool bar framed by a raised outer edge (light above and left, dark below
// and right) and no inner edge, standing out from the panel it sits on.

#include <QToolBar>

class RaisedToolBar final : public QToolBar {
    Q_OBJECT

public:
    explicit RaisedToolBar(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
