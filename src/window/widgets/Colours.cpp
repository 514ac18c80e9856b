#include "window/widgets/Colours.h"

#include <QWidget>

void PaintBackground(QWidget* widget, QPalette::ColorRole role, uint32_t bgr) {
    QPalette palette = widget->palette();
    palette.setColor(role, FromBgr(bgr));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}
