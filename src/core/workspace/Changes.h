#pragma once
// What an operation on the workspace changed, list by list. Every operation that
// changes what the window shows returns one; the window shows it in one place.

#include "core/workspace/ListChange.h"

namespace ketrilo {

struct Changes {
    ListChange folderList;
    ListChange well;
    ListChange longNames;
    bool listedFolder = false; // the listed folder's path changed (listed anew, renamed)
    bool capacity = false;     // the capacity status is to be computed and shown again
};

} // namespace ketrilo
