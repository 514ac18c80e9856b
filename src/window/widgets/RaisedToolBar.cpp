#include "window/widgets/RaisedToolBar.h"

#include <QLayout>
#include <QPainter>
#include <qdrawutil.h>

namespace {

constexpr int EdgeWidth = 1;

} // namespace

RaisedToolBar::RaisedToolBar(QWidget* parent) : QToolBar(parent) {
    layout()->setContentsMargins(EdgeWidth, EdgeWidth, EdgeWidth, EdgeWidth);
}

void RaisedToolBar::paintEvent(QPaintEvent* event) {
    QToolBar::paintEvent(event);
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), false, EdgeWidth);
}
