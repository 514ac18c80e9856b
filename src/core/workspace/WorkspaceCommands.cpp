#include "core/workspace/WorkspaceCommands.h"

#include "core/base/Permutation.h"
#include "core/profiles/ProfileFile.h"

namespace ketrilo {

CapacityReport UpdateCapacityStatus(Workspace& ws) {
    CapacityReport report =
        ComputeCapacityStatus(ws.well.TotalClusters(), ws.capacity.DiscCapacityClusters);
    ws.capacity.RemainingBytes = report.remainingBytes;
    return report;
}

Changes ChooseDisc(Workspace& ws, int index) {
    ws.capacity.DiscCapacityClusters = CapacityForChoice(ws.CapacityList, index);
    Changes changes;
    changes.capacity = true;
    return changes;
}

Changes SortWellByColumn(Workspace& ws, int column) {
    Changes changes;
    changes.well.order = WellOrderByColumn(ws.well.Rows(), column, ws.SortSign);
    ws.well.Reorder(changes.well.order);
    ws.SortSign.sign[WellSortBase + column] *= -1;
    return changes;
}

Changes SortFolderListByColumn(Workspace& ws, int column) {
    Changes changes;
    changes.folderList.order = FolderOrderByColumn(ws.folderList.rows, column, ws.SortSign);
    ApplyOrder(ws.folderList.rows, changes.folderList.order);
    ws.SortSign.sign[FolderSortBase + column] *= -1;
    return changes;
}

} // namespace ketrilo
