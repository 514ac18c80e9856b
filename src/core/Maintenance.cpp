#include "Maintenance.h"

#include "DirectorySearch.h"
#include "IconSource.h"
#include "MeasureFolder.h"
#include "Numbers.h"

namespace ketrilo {

void RecalculateWell(Workspace& ws, WorkProgress* progress) {
    NoIcons noIcons; // nothing is collected, so no icon is asked for
    for (size_t i = 0; i < ws.well.Size(); ++i) {
        const std::string fullPath = ws.well.At(i).FullPath();
        if (!IsDirectory(fullPath)) {
            continue;
        }
        ws.capacity.TreeClusterTotal = 0;
        WellRow row = ws.well.At(i);
        row.clusters = MeasureFolder(fullPath + "/", false, ws.capacity.TreeClusterTotal,
                                     ws.longNames, noIcons, progress);
        row.bytes = BytesOnDisc(row.clusters);
        ws.well.ReplaceAt(i, std::move(row));
    }
}

void ClearWell(Workspace& ws) {
    ws.well.Clear();
    ws.longNames.Clear();
}

bool DeleteWellRows(Workspace& ws, const std::vector<size_t>& selectedRows) {
    if (selectedRows.empty()) {
        return false;
    }
    ws.well.RemoveRows(selectedRows);
    return true;
}

} // namespace ketrilo
