#include "window/widgets/FontFitting.h"

#include <QFontMetricsF>

int FittingPixelSize(QFont font, const QString& text, int width, int largest, int smallest) {
    for (int size = largest; size > smallest; --size) {
        font.setPixelSize(size);
        if (QFontMetricsF(font).horizontalAdvance(text) <= width)
            return size;
    }
    return smallest;
}
