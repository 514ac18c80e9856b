#pragma once
// The status bar's two panels: the clusters' status line, always whole in a font from its
// largest size down to its smallest, and the disc image's line beside it in a font no
// smaller than the status line's smallest. When the two do not fit side by side, the image
// line takes a line of its own below the status line.

#include "window/widgets/FittingLabel.h"

#include <QWidget>

class StatusPanels final : public QWidget {
    Q_OBJECT

public:
    StatusPanels(int largestPixelSize, int smallestPixelSize, QWidget* parent);

    [[nodiscard]] FittingLabel* First() const { return m_first; }
    [[nodiscard]] FittingLabel* Second() const { return m_second; }

signals:
    // The height the panels need beyond one line: the image line's own line, or 0.
    void ExtraHeightWanted(int pixels);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Arrange();

    int m_smallest;
    int m_extraHeight = 0;
    FittingLabel* m_first;
    FittingLabel* m_second;
};
