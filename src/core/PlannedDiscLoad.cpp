#include "PlannedDiscLoad.h"

#include "Maintenance.h"
#include "Registration.h"

namespace ketrilo {

Changes LoadPlannedDisc(Workspace& ws, const PlannedDisc& disc, IconSource& icons,
                        WorkProgress* progress) {
    std::vector<std::string> paths;
    for (const PlannedItem& item : disc.items)
        paths.push_back(item.diskPath);
    // The lists are new as a whole, which covers the rows the registration appends.
    Changes changes = ClearWell(ws);
    // A disc never holds one path twice, so no item is refused as a duplicate.
    RegisterDroppedPaths(
        ws, paths, icons, [](const std::string&) {}, progress);
    return changes;
}

} // namespace ketrilo
