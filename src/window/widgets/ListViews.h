#pragma once
// The report-style list views: grid, whole-row selection, small icons, no editing,
// and columns laid out by their table (fixed widths, auto-size columns sharing the rest).

#include "window/models/RowTableModel.h"

#include <QAbstractItemView>
#include <QObject>

#include <vector>

class QFont;
class QTableView;

// Widths of the columns for a client width: fixed columns keep theirs; the auto-size
// columns share what is left equally, the leftmost also taking the remainder.
[[nodiscard]] std::vector<int> ColumnWidths(const std::vector<ColumnSpec>& columns,
                                            int clientWidth);

// The column table for a view's font: a number column is widened, if need be, to show
// figureDigits digits whole (the widths were made for a font with narrower digits).
[[nodiscard]] std::vector<ColumnSpec> WidenForFigures(std::vector<ColumnSpec> columns,
                                                      const QFont& font, int cellMargins);

// Sets view up over model; the column widths follow the view's width from then on.
void SetUpListView(QTableView* view, RowTableModel* model,
                   QAbstractItemView::SelectionMode selection);

// Keeps a view's column widths in line with its client width.
class ColumnFitter final : public QObject {
    Q_OBJECT

public:
    ColumnFitter(QTableView* view, std::vector<ColumnSpec> columns);
    void Fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableView* m_view;
    std::vector<ColumnSpec> m_columns;
};

// Indexes of the selected rows of a view, ascending (display order). The selection's
// ranges are read in one pass, however scattered they are.
[[nodiscard]] std::vector<size_t> SelectedRows(const QTableView* view);
