#pragma once
// The status bar's two panels side by side: the clusters' status line, always whole in a
// font from its largest size down to its smallest, and the disc image's line beside it in
// the window's small font. Only when the first line needs nearly the whole bar does the
// image line give way, in a smaller font within what is left.

#include "FittingLabel.h"

#include <QWidget>

class StatusPanels final : public QWidget {
    Q_OBJECT

public:
    StatusPanels(int largestPixelSize, int smallestPixelSize, QWidget* parent);

    [[nodiscard]] FittingLabel* First() const { return m_first; }
    [[nodiscard]] FittingLabel* Second() const { return m_second; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Arrange();

    int m_smallest;
    FittingLabel* m_first;
    FittingLabel* m_second;
};
