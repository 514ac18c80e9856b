#pragma once
// One disc of a plan taken into the well, to be handed over like any well.

#include "core/plan/SpanningPlan.h"
#include "core/workspace/Changes.h"
#include "core/workspace/IconSource.h"
#include "core/workspace/Workspace.h"

namespace ketrilo {

// Empties the well and the long-name list, then registers the disc's items as a drop
// registers them: a part of a split folder ("photos/2019") becomes an item of its own.
// Says the well and the long-name list are new; throws WorkCancelled on a cancel request,
// and KetriloError naming the path, changing nothing, when an item is gone from the disk.
Changes LoadPlannedDisc(Workspace& ws, const PlannedDisc& disc, IconSource& icons,
                        WorkProgress* progress = nullptr);

} // namespace ketrilo
