#pragma once
// Renaming long names on disk and bringing the lists in line.

#include "core/workspace/Changes.h"
#include "core/workspace/Workspace.h"

#include <cstdint>
#include <string>

namespace ketrilo {

inline constexpr int FolderListId = 1;
inline constexpr int WellListId = 2;

// Renames folder + oldName to folder + newName without replacing anything. False for
// a folder that does not end in "/" (the empty one included), an empty name, ".", "..",
// a name with "/", or any failure of the rename itself.
[[nodiscard]] bool RenameOnDisk(const std::string& folder, const std::string& oldName,
                                const std::string& newName);

// Index of the first row of the folder list (FolderListId) or the well (WellListId)
// whose full path equals key exactly; -1 when none.
[[nodiscard]] int32_t FindRowByPath(const Workspace& ws, const std::string& key, int list);

// After folder + oldName was renamed to newName from long-name row longNameRow: the
// long-name row goes (name within the limit) or follows; the folder-list row and the
// well row follow; rows of entries beneath a renamed folder follow its new path, and
// so does the listed folder. The capacity status stays: no size changes.
Changes ApplyRename(Workspace& ws, size_t longNameRow, const std::string& newName);

} // namespace ketrilo
