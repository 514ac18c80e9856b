#include "Registration.h"

#include "CanonicalPath.h"
#include "DirectorySearch.h"
#include "MeasureFolder.h"
#include "NameRules.h"
#include "Numbers.h"
#include "Paths.h"

#include <algorithm>

namespace ketrilo {

namespace {

// Appends row unless its full path is in the well; a long own name also gets a
// long-name row, once per full path.
void AddRowToWell(Workspace& ws, WellRow row) {
    if (!ws.well.Append(std::move(row))) {
        return;
    }
    const WellRow& added = ws.well.Rows().back();
    const int32_t length = NameLength(added.name);
    if (IsNameWithinLimit(static_cast<uint32_t>(length)) ||
        ws.longNames.LongNameListContains(added.FullPath())) {
        return;
    }
    ws.longNames.Append(LongNameRow{added.name, length, added.path, added.icon});
}

} // namespace

void AddToWell(Workspace& ws, const tfileproperty& item) {
    AddRowToWell(ws, WellRow{item.name, ExtensionOf(item.name), item.fileclustersize,
                             item.clustersize, item.path, item.icon});
}

void RegisterFolderRows(Workspace& ws, const std::vector<size_t>& selectedRows) {
    const std::string& folder = ws.folderList.folder;
    if (folder.empty()) {
        return;
    }
    std::vector<size_t> inListOrder = selectedRows;
    std::sort(inListOrder.begin(), inListOrder.end());
    inListOrder.erase(std::unique(inListOrder.begin(), inListOrder.end()), inListOrder.end());
    for (size_t index : inListOrder) {
        if (index >= ws.folderList.rows.size()) {
            break;
        }
        const FolderRow& row = ws.folderList.rows[index];
        AddRowToWell(ws, WellRow{row.name, row.ext, row.bytes, row.clusters, folder, row.icon});
    }
}

bool IsUpperDropArea(int cursorScreenY, int frameTop, int panelHeight) {
    return int64_t{cursorScreenY} < int64_t{frameTop} + panelHeight + 40;
}

bool RefuseSelfDrop(Workspace& ws) {
    if (!ws.DraggingFromSelf) {
        return false;
    }
    ws.DraggingFromSelf = false;
    return true;
}

std::string ShowFolder(Workspace& ws, const std::string& folderText, IconSource& icons,
                       WorkProgress* progress) {
    ws.folderList.rows.clear();
    if (folderText.empty()) {
        ws.folderList.folder.clear();
        return {};
    }
    ws.folderList.folder = WithTrailingBackslash(folderText);
    ListFolder(ws.folderList.folder, ws.folderList, icons, progress);
    return ws.folderList.folder;
}

std::string ShowDroppedFolder(Workspace& ws, const std::string& firstPath, IconSource& icons,
                              WorkProgress* progress) {
    const std::string path = CanonicalPath(firstPath);
    if (!IsDirectory(path)) {
        return {};
    }
    return ShowFolder(ws, path, icons, progress);
}

void RegisterDroppedPaths(Workspace& ws, const std::vector<std::string>& paths, IconSource& icons,
                          const std::function<void(const std::string&)>& onDuplicate,
                          WorkProgress* progress) {
    for (const std::string& dropped : paths) {
        const std::string path = CanonicalPath(dropped);
        if (ws.well.WellIndexOf(path) != -1) {
            onDuplicate(path);
            continue;
        }
        const SplitPath parts = SplitFullPath(path);
        tfileproperty item;
        item.name = parts.name;
        item.path = parts.folder;
        item.ext = ExtensionOf(parts.name);
        item.length = NameLength(parts.name);
        if (IsDirectory(path)) {
            ws.capacity.TreeClusterTotal = 0;
            item.clustersize = MeasureFolder(path + "/", true, ws.capacity.TreeClusterTotal,
                                             ws.longNames, icons, progress);
            item.icon = FolderIconIndex;
        } else {
            item.clustersize = ClustersFor(static_cast<uint32_t>(ClusterSize), GetFileSize64(path));
            item.icon = icons.IconIndexFor(path);
        }
        item.fileclustersize = BytesOnDisc(item.clustersize);
        AddToWell(ws, item);
    }
}

} // namespace ketrilo
