#pragma once
// Keeping the well in step: recalculation, clearing and deletion.

#include "core/base/WorkProgress.h"
#include "core/workspace/Changes.h"
#include "core/workspace/Workspace.h"

#include <vector>

namespace ketrilo {

// Measures every well row that is a folder again (no long names collected); other
// rows, and folders that are gone, keep their figures. progress as for MeasureFolder.
Changes RecalculateWell(Workspace& ws, WorkProgress* progress = nullptr);

// Empties the well and the long-name list.
Changes ClearWell(Workspace& ws);

// Removes the selected well rows (indexes in display order). Nothing at all changes,
// the capacity status included, when nothing was selected.
Changes DeleteWellRows(Workspace& ws, const std::vector<size_t>& selectedRows);

} // namespace ketrilo
