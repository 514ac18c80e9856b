#pragma once
// A one-line label whose text is always seen whole: it keeps its largest font while the
// text fits, otherwise takes the font just small enough that it does (not below the
// smallest), and offers the full text as its tooltip and accessible name.

#include <QLabel>

class FittingLabel final : public QLabel {
    Q_OBJECT

public:
    FittingLabel(int largestPixelSize, int smallestPixelSize, QWidget* parent);

    // Shows text in the font that fits the label's present width.
    void ShowText(const QString& text);

signals:
    void TextShown();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitFont();

    int m_largest;
    int m_smallest;
};
