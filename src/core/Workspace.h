#pragma once
// Everything the window holds: the three lists, the capacity in force, the sort
// directions, the self-drag flag and the profiles' capacity texts.

#include "CapacityStatus.h"
#include "Changes.h"
#include "FolderList.h"
#include "LongNameList.h"
#include "Sorting.h"
#include "Well.h"

#include <string>
#include <vector>

namespace ketrilo {

struct Workspace {
    FolderList folderList;
    Well well;
    LongNameList longNames;
    CapacityState capacity;
    SortSigns SortSign;
    bool DraggingFromSelf = false;
    std::vector<std::string> CapacityList;
};

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
