#pragma once
// Everything the window holds: the three lists, the capacity in force, the sort
// directions, the self-drag flag and the profiles' capacity texts.

#include "core/workspace/CapacityStatus.h"
#include "core/workspace/FolderList.h"
#include "core/workspace/FolderWitness.h"
#include "core/workspace/LongNameList.h"
#include "core/workspace/Sorting.h"
#include "core/workspace/Well.h"

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
    // Sees the folders the walks read (the image's arithmetic), if anyone.
    FolderWitness* walkWitness = nullptr;
};

} // namespace ketrilo
