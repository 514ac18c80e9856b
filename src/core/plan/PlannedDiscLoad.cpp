#include "core/plan/PlannedDiscLoad.h"

#include "core/base/KetriloError.h"
#include "core/workspace/Maintenance.h"
#include "core/workspace/Registration.h"

#include <sys/stat.h>

namespace ketrilo {

Changes LoadPlannedDisc(Workspace& ws, const PlannedDisc& disc, IconSource& icons,
                        WorkProgress* progress) {
    std::vector<std::string> paths;
    for (const PlannedItem& item : disc.items) {
        // A drop counts a path it cannot reach as an empty file; a planned item that has
        // gone since the plan would vanish from every disc that way.
        struct stat info {};
        if (lstat(item.diskPath.c_str(), &info) != 0)
            throw KetriloError(item.diskPath +
                               " がありません。計画のあとで消えたか名前が変わりました");
        paths.push_back(item.diskPath);
    }
    // The lists are new as a whole, which covers the rows the registration appends.
    Changes changes = ClearWell(ws);
    // A disc never holds one path twice, so no item is refused as a duplicate.
    RegisterDroppedPaths(
        ws, paths, icons, [](const std::string&) {}, progress);
    return changes;
}

} // namespace ketrilo
