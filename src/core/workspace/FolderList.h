#pragma once
// The folder list: the rows of one listed folder, in enumeration or sorted order.

#include "core/workspace/Rows.h"

#include <string>
#include <vector>

namespace ketrilo {

struct FolderList {
    std::string folder; // the folder the rows were listed from, ending in "/"; "" when none
    std::vector<FolderRow> rows;
};

} // namespace ketrilo
