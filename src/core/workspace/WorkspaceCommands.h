#pragma once
// The commands that act on the whole workspace through its capacity and sort rules: the
// rules themselves (CapacityStatus, Sorting) know nothing of the workspace.

#include "core/workspace/Changes.h"
#include "core/workspace/Workspace.h"

namespace ketrilo {

// Recomputes the status from the well and the capacity in force and stores
// RemainingBytes. On capacity 0 it throws and leaves everything as it was.
CapacityReport UpdateCapacityStatus(Workspace& ws);

// The user chose disc entry index of the profiles (-1: typed text that names no entry):
// its capacity comes into force (CapacityForChoice).
Changes ChooseDisc(Workspace& ws, int index);

// Sorts the list by column, then negates that column's direction factor. The change
// carries the permutation applied (order[i] is the old index of the new row i); equal
// rows keep their order.
Changes SortWellByColumn(Workspace& ws, int column);
Changes SortFolderListByColumn(Workspace& ws, int column);

} // namespace ketrilo
