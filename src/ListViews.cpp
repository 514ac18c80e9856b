#include "ListViews.h"

#include <QEvent>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>

namespace {

constexpr int RowHeight = 18;
constexpr int IconSize = 16;

// The blanks that right-align a number in its fixed-width text only push it to the
// right; they are left out of the painting so that a wide number is not cut short.
class PaddedNumberDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->displayAlignment & Qt::AlignRight)
            option->text = option->text.trimmed();
    }
};

} // namespace

std::vector<int> ColumnWidths(const std::vector<ColumnSpec>& columns, int clientWidth) {
    int fixed = 0;
    int autoCount = 0;
    for (const ColumnSpec& c : columns) {
        fixed += c.width;
        autoCount += c.width == 0 ? 1 : 0;
    }
    std::vector<int> widths;
    const int free = std::max(0, clientWidth - fixed);
    bool first = true;
    for (const ColumnSpec& c : columns) {
        if (c.width != 0) {
            widths.push_back(c.width);
            continue;
        }
        widths.push_back(free / autoCount + (first ? free % autoCount : 0));
        first = false;
    }
    return widths;
}

void SetUpListView(QTableView* view, RowTableModel* model,
                   QAbstractItemView::SelectionMode selection) {
    view->setModel(model);
    view->setShowGrid(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(selection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setIconSize(QSize(IconSize, IconSize));
    view->setWordWrap(false);
    view->setTextElideMode(Qt::ElideRight);
    view->setItemDelegate(new PaddedNumberDelegate(view));
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->verticalHeader()->setVisible(false);
    // A fixed row height spares the view from measuring 100,000 rows.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(RowHeight);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setSectionsClickable(true);
    view->horizontalHeader()->setSortIndicatorShown(false);
    view->horizontalHeader()->setStretchLastSection(false);
    view->horizontalHeader()->setMinimumSectionSize(0);
    auto* fitter = new ColumnFitter(view, model);
    fitter->Fit();
}

ColumnFitter::ColumnFitter(QTableView* view, const RowTableModel* model)
    : QObject(view), m_view(view), m_model(model) {
    view->viewport()->installEventFilter(this);
}

void ColumnFitter::Fit() {
    const std::vector<int> widths = ColumnWidths(m_model->Columns(), m_view->viewport()->width());
    for (size_t i = 0; i < widths.size(); ++i)
        m_view->setColumnWidth(static_cast<int>(i), widths[i]);
}

bool ColumnFitter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize)
        Fit();
    return QObject::eventFilter(watched, event);
}
