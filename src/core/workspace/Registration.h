#pragma once
// Items enter the well: from the folder list's selection and from drops.

#include "core/base/WorkProgress.h"
#include "core/workspace/Changes.h"
#include "core/workspace/IconSource.h"
#include "core/workspace/Rows.h"
#include "core/workspace/Workspace.h"

#include <functional>
#include <string>
#include <vector>

namespace ketrilo {

// Adds the well row (and the long-name row a long name needs) unless the item's
// full path is in the well already.
Changes AddToWell(Workspace& ws, const tfileproperty& item);

// Registers the selected folder-list rows (indexes in display order) under the
// folder the list was filled from; rows already in the well are skipped silently.
Changes RegisterFolderRows(Workspace& ws, const std::vector<size_t>& selectedRows);

// A drop is on the upper area when the cursor lies above frameTop + panelHeight + 40.
[[nodiscard]] bool IsUpperDropArea(int cursorScreenY, int frameTop, int panelHeight);

// The self-drop guard: returns DraggingFromSelf and clears it. A drop that finds it
// set is refused.
[[nodiscard]] bool TakeDraggingFromSelf(Workspace& ws);

// Lists the folder typed or chosen: "" empties the list and forgets the folder;
// otherwise the list is refilled from WithTrailingBackslash(folderText), which becomes
// the listed folder (folderList.folder). progress, here and below, as for MeasureFolder:
// a cancel ends with WorkCancelled and leaves a partial result to discard.
Changes ListFolderAnew(Workspace& ws, const std::string& folderText, IconSource& icons,
                       WorkProgress* progress = nullptr);

// Upper area: lists the first dropped path when it is a folder, then the capacity
// status is shown again; nothing changes when it is not a folder.
Changes ListDroppedFolder(Workspace& ws, const std::string& firstPath, IconSource& icons,
                          WorkProgress* progress = nullptr);

// Lower area: registers each path in order; a folder is measured with long names
// collected, anything else counted as a file. onDuplicate runs for each path that
// is already in the well, and the rest of the drop goes on. Paths are absolute, of any
// length, and taken by their CanonicalPath ("/a/./b" is the entry /a/b, and "/a/link/"
// the link's target folder, while "/a/link" is the link itself), here and above.
Changes RegisterDroppedPaths(Workspace& ws, const std::vector<std::string>& paths,
                             IconSource& icons,
                             const std::function<void(const std::string&)>& onDuplicate,
                             WorkProgress* progress = nullptr);

} // namespace ketrilo
