#pragma once
// Shrinking a font just enough that a text fits a width, for figures that must be read whole.

#include <QFont>
#include <QString>

// The largest pixel size from largest down to smallest at which text, in font's family
// and style, fits width; smallest when even that does not fit. Fractional advances count:
// a text one tenth of a pixel too wide would be cut when painted.
[[nodiscard]] int FittingPixelSize(QFont font, const QString& text, int width, int largest,
                                   int smallest);
