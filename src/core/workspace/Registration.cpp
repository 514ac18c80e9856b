#include "core/workspace/Registration.h"

#include "core/disk/CanonicalPath.h"
#include "core/disk/DirectorySearch.h"
#include "core/text/NameRules.h"
#include "core/text/Numbers.h"
#include "core/text/Paths.h"
#include "core/workspace/MeasureFolder.h"

#include <algorithm>
#include <utility>

namespace ketrilo {

namespace {

// Appends row unless its full path is in the well; a long own name (length is its
// NameLength) also gets a long-name row, once per full path.
void AddRowToWell(Workspace& ws, WellRow row, int32_t length, Changes& changes) {
    if (!ws.well.Append(std::move(row))) {
        return;
    }
    ++changes.well.appended;
    changes.capacity = true;
    const WellRow& added = ws.well.Rows().back();
    if (IsNameWithinLimit(static_cast<uint32_t>(length)) ||
        ws.longNames.LongNameListContains(added.FullPath())) {
        return;
    }
    ws.longNames.Append(LongNameRow{added.name, length, added.path, added.icon});
    ++changes.longNames.appended;
}

// AddToWell's row: the extension and the length are taken from the name afresh.
void AddItemToWell(Workspace& ws, const tfileproperty& item, Changes& changes) {
    AddRowToWell(ws,
                 WellRow{item.name, ExtensionOf(item.name), item.fileclustersize, item.clustersize,
                         item.path, item.icon},
                 NameLength(item.name), changes);
}

} // namespace

Changes AddToWell(Workspace& ws, const tfileproperty& item) {
    Changes changes;
    AddItemToWell(ws, item, changes);
    return changes;
}

Changes RegisterFolderRows(Workspace& ws, const std::vector<size_t>& selectedRows) {
    // The status is shown again even when nothing was registered.
    Changes changes;
    changes.capacity = true;
    const std::string& folder = ws.folderList.folder;
    if (folder.empty()) {
        return changes;
    }
    std::vector<size_t> inListOrder = selectedRows;
    std::sort(inListOrder.begin(), inListOrder.end());
    inListOrder.erase(std::unique(inListOrder.begin(), inListOrder.end()), inListOrder.end());
    for (size_t index : inListOrder) {
        if (index >= ws.folderList.rows.size()) {
            break;
        }
        const FolderRow& row = ws.folderList.rows[index];
        AddRowToWell(ws, WellRow{row.name, row.ext, row.bytes, row.clusters, folder, row.icon},
                     row.length, changes);
    }
    return changes;
}

bool IsUpperDropArea(int cursorScreenY, int frameTop, int panelHeight) {
    return int64_t{cursorScreenY} < int64_t{frameTop} + panelHeight + 40;
}

bool TakeDraggingFromSelf(Workspace& ws) {
    return std::exchange(ws.DraggingFromSelf, false);
}

Changes ListFolderAnew(Workspace& ws, const std::string& folderText, IconSource& icons,
                       WorkProgress* progress) {
    Changes changes;
    changes.folderList.replaced = true;
    changes.listedFolder = true;
    ws.folderList.rows.clear();
    if (folderText.empty()) {
        ws.folderList.folder.clear();
        return changes;
    }
    ws.folderList.folder = WithTrailingBackslash(folderText);
    ListFolder(ws.folderList.folder, ws.folderList, icons, progress, ws.walkWitness);
    return changes;
}

Changes ListDroppedFolder(Workspace& ws, const std::string& firstPath, IconSource& icons,
                          WorkProgress* progress) {
    const std::string path = CanonicalPath(firstPath);
    if (!IsDirectory(path)) {
        return {};
    }
    Changes changes = ListFolderAnew(ws, path, icons, progress);
    changes.capacity = true;
    return changes;
}

Changes RegisterDroppedPaths(Workspace& ws, const std::vector<std::string>& paths,
                             IconSource& icons,
                             const std::function<void(const std::string&)>& onDuplicate,
                             WorkProgress* progress) {
    Changes changes;
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
        // One read of the entry: a visible folder is measured as a tree, anything else
        // (a hidden folder and a link included) is registered as a file of its own size.
        const DirectorySearch entry = DirectorySearch::Entry(path, faAnyFile);
        const TSearchRec found = entry.Found() ? entry.Current() : TSearchRec{};
        if (IsVisibleFolder(found)) {
            const size_t longNamesBefore = ws.longNames.Size();
            item.clustersize = MeasureFolder(path + "/", true, ws.longNames, icons, progress,
                                             WalkOptions{.witness = ws.walkWitness});
            changes.longNames.appended += ws.longNames.Size() - longNamesBefore;
            item.icon = FolderIconIndex;
        } else {
            item.clustersize = ClustersFor(static_cast<uint32_t>(ClusterSize), found.Size);
            item.icon = icons.IconIndexFor(path, found.Kind);
        }
        item.fileclustersize = BytesOnDisc(item.clustersize);
        AddItemToWell(ws, item, changes);
    }
    changes.capacity = true;
    return changes;
}

} // namespace ketrilo
