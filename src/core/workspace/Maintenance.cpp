#include "core/workspace/Maintenance.h"

#include "core/disk/DirectorySearch.h"
#include "core/text/Numbers.h"
#include "core/workspace/IconSource.h"
#include "core/workspace/MeasureFolder.h"
#include "core/workspace/NoIcons.h"

namespace ketrilo {

Changes RecalculateWell(Workspace& ws, WorkProgress* progress) {
    Changes changes;
    changes.capacity = true;
    NoIcons noIcons; // nothing is collected, so no icon is asked for
    for (size_t i = 0; i < ws.well.Size(); ++i) {
        const std::string fullPath = ws.well.At(i).FullPath();
        if (!IsDirectory(fullPath)) {
            continue;
        }
        WellRow row = ws.well.At(i);
        row.clusters = MeasureFolder(fullPath + "/", false, ws.longNames, noIcons, progress,
                                     WalkOptions{.witness = ws.walkWitness});
        row.bytes = BytesOnDisc(row.clusters);
        ws.well.ReplaceAt(i, std::move(row));
        changes.well.changed.push_back(i);
    }
    return changes;
}

Changes ClearWell(Workspace& ws) {
    ws.well.Clear();
    ws.longNames.Clear();
    Changes changes;
    changes.well.replaced = true;
    changes.longNames.replaced = true;
    changes.capacity = true;
    return changes;
}

Changes DeleteWellRows(Workspace& ws, const std::vector<size_t>& selectedRows) {
    Changes changes;
    changes.well.removed = ws.well.RemoveRows(selectedRows);
    changes.capacity = !changes.well.removed.empty();
    return changes;
}

} // namespace ketrilo
