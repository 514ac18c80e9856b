// TForm1's well commands: register, recalculate, clear, delete, sort by column.
#include "Unit1.h"

#include "ListViews.h"
#include "LongWork.h"
#include "core/Maintenance.h"
#include "core/Registration.h"

#include <QItemSelection>
#include <QItemSelectionModel>
#include <QProgressBar>
#include <QTableView>

#include <functional>

namespace {

// Sorts a list (sort returns the permutation: order[i] is the old index of row i),
// shows it anew through refresh and keeps the rows the user had selected.
void SortKeepingSelection(QTableView* view, const std::function<std::vector<size_t>()>& sort,
                          const std::function<void()>& refresh) {
    const std::vector<size_t> selected = SelectedRows(view);
    const std::vector<size_t> order = sort();
    std::vector<bool> wasSelected(order.size(), false);
    for (size_t row : selected)
        wasSelected[row] = true;
    std::vector<size_t> reselected;
    for (size_t row = 0; row < order.size(); ++row) {
        if (wasSelected[order[row]])
            reselected.push_back(row);
    }
    refresh();
    SelectRows(view, reselected);
}

bool IsDeleteKey(int key) {
    return key == Qt::Key_Delete || key == Qt::Key_Backspace;
}

} // namespace

void TForm1::ToolButton1Click() {
    ketrilo::RegisterFolderRows(m_ws, SelectedRows(ListView3));
    RefreshWell(RowChange::Kept);
    RefreshLongNames(RowChange::Kept);
    UpdateCapacityStatus();
}

void TForm1::ToolButton4Click() {
    // Measured on a worker into a copy of the well, taken only when it finished.
    ketrilo::Workspace fresh;
    fresh.well = m_ws.well;
    fresh.capacity = m_ws.capacity;
    if (!m_longWork->Run(
            [&](ketrilo::WorkProgress& progress) { ketrilo::RecalculateWell(fresh, &progress); }))
        return;
    m_ws.well = std::move(fresh.well);
    m_ws.capacity = fresh.capacity;
    RefreshWell(RowChange::Kept);
    UpdateCapacityStatus();
}

void TForm1::ToolButton5Click() {
    ketrilo::ClearWell(m_ws);
    RefreshWell();
    RefreshLongNames();
    ProgressBar1->setValue(0);
    UpdateCapacityStatus();
}

void TForm1::ListView1KeyDown(int key, Qt::KeyboardModifiers) {
    // Only the delete keys remove rows: Shift, Ctrl and arrows extend the selection.
    if (!IsDeleteKey(key))
        return;
    if (!ketrilo::DeleteWellRows(m_ws, SelectedRows(ListView1)))
        return;
    RefreshWell();
    UpdateCapacityStatus();
}

void TForm1::ListView1ColumnClick(int column) {
    SortKeepingSelection(
        ListView1, [this, column] { return ketrilo::SortWellByColumn(m_ws, column); },
        [this] { RefreshWell(); });
}

void TForm1::ListView3ColumnClick(int column) {
    SortKeepingSelection(
        ListView3, [this, column] { return ketrilo::SortFolderListByColumn(m_ws, column); },
        [this] { RefreshFolderList(); });
}
