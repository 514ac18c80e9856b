#include "window/widgets/ListViews.h"

#include "window/widgets/FigureDelegate.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QTableView>

#include <algorithm>
#include <cmath>

namespace {

constexpr int RowHeight = 18;
constexpr int IconSize = 16;
constexpr int GridLineWidth = 1; // a grid takes one pixel of each cell's width

} // namespace

std::vector<ColumnSpec> WidenForFigures(std::vector<ColumnSpec> columns, const QFont& font,
                                        int cellMargins) {
    const QFontMetricsF metrics(font);
    for (ColumnSpec& c : columns) {
        if (c.figureDigits > 0) {
            const int figure = static_cast<int>(
                std::ceil(metrics.horizontalAdvance(QString(c.figureDigits, QLatin1Char('0')))));
            c.width = std::max(c.width, figure + cellMargins);
        }
    }
    return columns;
}

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
    // Tab moves on to the next control instead of walking the cells (and dropping the
    // selection on the way).
    view->setTabKeyNavigation(false);
    view->setItemDelegate(new FigureDelegate(view));
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
    const int cellMargins = 2 * FigureDelegate::TextMargin(view) + GridLineWidth;
    auto* fitter =
        new ColumnFitter(view, WidenForFigures(model->Columns(), view->font(), cellMargins));
    fitter->Fit();
}

ColumnFitter::ColumnFitter(QTableView* view, std::vector<ColumnSpec> columns)
    : QObject(view), m_view(view), m_columns(std::move(columns)) {
    view->viewport()->installEventFilter(this);
}

void ColumnFitter::Fit() {
    const std::vector<int> widths = ColumnWidths(m_columns, m_view->viewport()->width());
    for (size_t i = 0; i < widths.size(); ++i)
        m_view->setColumnWidth(static_cast<int>(i), widths[i]);
}

bool ColumnFitter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize)
        Fit();
    return QObject::eventFilter(watched, event);
}

std::vector<size_t> SelectedRows(const QTableView* view) {
    // Whole rows are selected, so each range's rows are selected rows; asking the
    // selection row by row would cost the number of ranges for every row.
    std::vector<size_t> rows;
    for (const QItemSelectionRange& range : view->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(static_cast<size_t>(row));
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}
