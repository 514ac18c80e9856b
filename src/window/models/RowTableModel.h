#pragma once
// Common ground of the three list models: a fixed column table (caption, width,
// alignment), the shared icon list, and the notifications that let a view follow the
// rows the core changed.

#include "core/workspace/Columns.h"
#include "window/PathText.h"

#include <QAbstractTableModel>
#include <QString>

#include <vector>

class ImageList;

namespace ketrilo {
struct ListChange;
}

struct ColumnSpec {
    QString caption;
    int width = 0; // 0: the column shares the width the others leave free
    Qt::Alignment alignment = Qt::AlignLeft;
    int figureDigits = 0; // a number column is at least wide enough for this many digits
};

class RowTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    RowTableModel(std::vector<ColumnSpec> columns, const ImageList& icons, QObject* parent);

    [[nodiscard]] const std::vector<ColumnSpec>& Columns() const { return m_columns; }

    // The core changed the rows as change says: the views hear of each step in Qt's own
    // terms (rows removed, moved, changed, inserted; a reset only for a replaced list),
    // so they keep their selection and current row on the rows that stay.
    void Show(const ketrilo::ListChange& change);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Figures the number columns show whole: any "%12d" byte count, and the clusters of
    // the largest disc the profile file lists (62,500,864).
    static constexpr int BytesDigits = 12;
    static constexpr int ClustersDigits = 8;

    // The lists' number formats: bytes "%12d", clusters "%6d", name lengths "%3d".
    [[nodiscard]] static QString BytesText(int64_t bytes);
    [[nodiscard]] static QString ClustersText(int64_t clusters);
    [[nodiscard]] static QString LengthText(int32_t length);

    // The four columns the folder list and the well share: name, extension, bytes on
    // disc and clusters.
    template <class Row> [[nodiscard]] static QString SharedCellText(const Row& r, int column) {
        switch (column) {
        case ketrilo::SharedColumnName:
            return TextOfBytes(r.name);
        case ketrilo::SharedColumnExt:
            return TextOfBytes(r.ext);
        case ketrilo::SharedColumnBytes:
            return BytesText(r.bytes);
        case ketrilo::SharedColumnClusters:
            return ClustersText(r.clusters);
        default:
            return {};
        }
    }

protected:
    // The number of rows the core's list holds now.
    [[nodiscard]] virtual size_t CoreRowCount() const = 0;
    [[nodiscard]] virtual QString CellText(size_t row, int column) const = 0;
    [[nodiscard]] virtual int32_t RowIcon(size_t row) const = 0;
    [[nodiscard]] virtual QVariant CellBackground(size_t, int) const { return {}; }

private:
    // Where the core now keeps each row the views know of (-1: removed), before the
    // change's steps are announced.
    [[nodiscard]] std::vector<int> CoreRowsOfShownRows(const ketrilo::ListChange& change) const;
    [[nodiscard]] int CoreRowOf(int shownRow) const;
    void RemoveRows(const std::vector<size_t>& removed);
    void Reorder(const std::vector<size_t>& order);
    // Row r of the shown rows becomes row newRow[r] (-1: gone); rowsAfter rows remain.
    void MoveRows(const std::vector<int>& newRow, int rowsAfter);
    void RowsChanged(const std::vector<size_t>& changed);

    std::vector<ColumnSpec> m_columns;
    const ImageList& m_icons; // the window's, which outlives the model
    // The rows the views know of: the core's list changes first and is then shown step
    // by step, so the views must not read its size before they are told.
    int m_shownRows = 0;
    // While a change is being announced: the core row of each shown row. Empty: the same.
    std::vector<int> m_coreRowOf;
};
