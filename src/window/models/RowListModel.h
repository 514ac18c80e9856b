#pragma once
// A list model over one row list of the window's workspace. It reaches the list through
// the workspace every time, so a list the window takes anew is the one it shows.

#include "window/models/RowTableModel.h"

#include <utility>
#include <vector>

namespace ketrilo {
struct Workspace;
}

template <class Row> class RowListModel : public RowTableModel {
public:
    // Picks the list out of the workspace.
    using RowsOf = const std::vector<Row>& (*)(const ketrilo::Workspace&);

    RowListModel(std::vector<ColumnSpec> columns, const ketrilo::Workspace& ws, RowsOf rowsOf,
                 const ImageList& icons, QObject* parent)
        : RowTableModel(std::move(columns), icons, parent), m_ws(ws), m_rowsOf(rowsOf) {}

protected:
    [[nodiscard]] const ketrilo::Workspace& Ws() const { return m_ws; }
    [[nodiscard]] const Row& At(size_t row) const { return m_rowsOf(m_ws)[row]; }

    [[nodiscard]] size_t CoreRowCount() const final { return m_rowsOf(m_ws).size(); }
    [[nodiscard]] int32_t RowIcon(size_t row) const final { return At(row).icon; }

private:
    const ketrilo::Workspace& m_ws; // the window's, which outlives the model
    RowsOf m_rowsOf;
};
