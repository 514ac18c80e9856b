// TForm1's well commands: register, recalculate, clear, delete, sort by column.
#include "window/Unit1.h"

#include "core/image/DiscImageStatus.h"
#include "core/workspace/Maintenance.h"
#include "core/workspace/Registration.h"
#include "core/workspace/WorkspaceCommands.h"
#include "window/widgets/ListViews.h"
#include "window/work/DiscImageWatcher.h"

#include <QTableView>

#include <memory>

namespace {

bool IsDeleteKey(int key) {
    return key == Qt::Key_Delete || key == Qt::Key_Backspace;
}

} // namespace

void TForm1::ToolButton1Click() {
    ShowChanges(ketrilo::RegisterFolderRows(m_ws, SelectedRows(ListView3)));
}

void TForm1::ToolButton4Click() {
    // Measured on a worker into a copy of the well, taken only when it finished.
    struct Recalculation {
        ketrilo::Workspace fresh;
        ketrilo::Changes changes;
    };
    auto run = std::make_shared<Recalculation>();
    run->fresh.well = m_ws.well;
    run->fresh.capacity = m_ws.capacity;
    run->fresh.walkWitness = m_ws.walkWitness;
    // The user recalculates because the items' entries changed: the image forgets what it
    // read, then takes what the walk reads afresh.
    m_discImageWatcher->ForgetNow();
    RunLong(
        [run](ketrilo::WorkProgress& progress) {
            run->changes = ketrilo::RecalculateWell(run->fresh, &progress);
        },
        [this, run] {
            m_ws.well = std::move(run->fresh.well);
            m_ws.capacity = run->fresh.capacity;
            m_discImageWatcher->Request(ketrilo::ImageItemsOf(m_ws.well));
            ShowChanges(run->changes);
        });
}

void TForm1::ToolButton5Click() {
    ShowChanges(ketrilo::ClearWell(m_ws));
}

void TForm1::ListView1KeyDown(int key, Qt::KeyboardModifiers) {
    // Only the delete keys remove rows: Shift, Ctrl and arrows extend the selection.
    if (!IsDeleteKey(key))
        return;
    ShowChanges(ketrilo::DeleteWellRows(m_ws, SelectedRows(ListView1)));
}

void TForm1::ListView1ColumnClick(int column) {
    ShowChanges(ketrilo::SortWellByColumn(m_ws, column));
}

void TForm1::ListView3ColumnClick(int column) {
    ShowChanges(ketrilo::SortFolderListByColumn(m_ws, column));
}
