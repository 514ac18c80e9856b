#include "window/widgets/FigureDelegate.h"

#include "window/widgets/FontFitting.h"

#include <QStyle>

namespace {

// Below this a figure is no longer legible; it is then cut as any other text.
constexpr int SmallestFigurePixelSize = 7;

} // namespace

int FigureDelegate::TextMargin(const QWidget* view) {
    return view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
}

void FigureDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (!(option->displayAlignment & Qt::AlignRight))
        return;
    option->text = option->text.trimmed();
    // Measuring rows for their size hint comes without a cell.
    if (option->rect.isEmpty())
        return;
    const int room = option->rect.width() - 2 * TextMargin(option->widget);
    const int pixelSize = option->font.pixelSize() > 0 ? option->font.pixelSize()
                                                       : QFontInfo(option->font).pixelSize();
    const int fitting =
        FittingPixelSize(option->font, option->text, room, pixelSize, SmallestFigurePixelSize);
    if (fitting == pixelSize)
        return;
    option->font.setPixelSize(fitting);
    option->fontMetrics = QFontMetrics(option->font);
}
