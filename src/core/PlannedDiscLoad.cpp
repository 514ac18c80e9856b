#include "PlannedDiscLoad.h"

#include "Maintenance.h"
#include "Registration.h"

namespace ketrilo {

void LoadPlannedDisc(Workspace& ws, const PlannedDisc& disc, IconSource& icons,
                     WorkProgress* progress) {
    std::vector<std::string> paths;
    for (const PlannedItem& item : disc.items)
        paths.push_back(item.diskPath);
    ClearWell(ws);
    // A disc never holds one path twice, so no item is refused as a duplicate.
    RegisterDroppedPaths(
        ws, paths, icons, [](const std::string&) {}, progress);
}

} // namespace ketrilo
