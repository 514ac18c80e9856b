#include "core/workspace/Rename.h"

#include "core/disk/OpenByPath.h"
#include "core/text/NameRules.h"
#include "core/workspace/RenamedFolder.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>

namespace ketrilo {

namespace {

// A plain name of an entry in its folder: nothing that would leave the folder.
bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string::npos;
}

bool IsFullPathOf(const std::string& key, const std::string& folder, const std::string& name) {
    return key.size() == folder.size() + name.size() && key.starts_with(folder) &&
           key.ends_with(name);
}

} // namespace

bool RenameOnDisk(const std::string& folder, const std::string& oldName,
                  const std::string& newName) {
    // Only a folder's own "/" keeps both names inside it.
    if (!folder.ends_with('/') || !IsPlainName(oldName) || !IsPlainName(newName)) {
        return false;
    }
    const ContainingFolder parent = OpenContainingFolder(folder + oldName);
    return parent.folder.Valid() &&
           ::renameat2(parent.folder.Get(), oldName.c_str(), parent.folder.Get(), newName.c_str(),
                       RENAME_NOREPLACE) == 0;
}

int32_t FindRowByPath(const Workspace& ws, const std::string& key, int list) {
    if (list == WellListId) {
        return ws.well.WellIndexOf(key);
    }
    // Folder-list rows belong to the folder they were listed from, even when the folder
    // box has been edited or emptied since (a cancelled chooser keeps the rows).
    if (list != FolderListId || ws.folderList.folder.empty()) {
        return -1;
    }
    const std::vector<FolderRow>& rows = ws.folderList.rows;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (IsFullPathOf(key, ws.folderList.folder, rows[i].name)) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

Changes ApplyRename(Workspace& ws, size_t longNameRow, const std::string& newName) {
    Changes changes;
    const LongNameRow renamed = ws.longNames.At(longNameRow);
    const std::string oldKey = renamed.FullPath();
    const int32_t newLength = NameLength(newName);
    if (IsNameWithinLimit(static_cast<uint32_t>(newLength))) {
        ws.longNames.RemoveAt(longNameRow);
        changes.longNames.removed.push_back(longNameRow);
    } else {
        ws.longNames.ReplaceAt(longNameRow,
                               LongNameRow{newName, newLength, renamed.folder, renamed.icon});
        changes.longNames.changed.push_back(longNameRow);
    }

    const int32_t folderRow = FindRowByPath(ws, oldKey, FolderListId);
    if (folderRow != -1) {
        FolderRow& row = ws.folderList.rows[static_cast<size_t>(folderRow)];
        row.name = newName;
        row.ext = ExtensionOf(newName);
        row.length = newLength;
        changes.folderList.changed.push_back(static_cast<size_t>(folderRow));
    }
    const int32_t wellRow = FindRowByPath(ws, oldKey, WellListId);
    if (wellRow != -1) {
        WellRow row = ws.well.At(static_cast<size_t>(wellRow));
        row.name = newName;
        row.ext = ExtensionOf(newName);
        ws.well.ReplaceAt(static_cast<size_t>(wellRow), std::move(row));
        changes.well.changed.push_back(static_cast<size_t>(wellRow));
    }

    // A renamed folder takes the entries beneath it along: their rows follow its new path.
    const std::string oldPrefix = oldKey + "/";
    const std::string newPrefix = renamed.folder + newName + "/";
    for (size_t i = 0; i < ws.longNames.Size(); ++i) {
        LongNameRow moved = ws.longNames.At(i);
        if (FollowRenamedFolder(moved.folder, oldPrefix, newPrefix)) {
            ws.longNames.ReplaceAt(i, std::move(moved));
            changes.longNames.changed.push_back(i);
        }
    }
    for (size_t i : ws.well.ReplaceFolderPrefix(oldPrefix, newPrefix)) {
        changes.well.changed.push_back(i);
    }
    changes.listedFolder = FollowRenamedFolder(ws.folderList.folder, oldPrefix, newPrefix);
    std::sort(changes.longNames.changed.begin(), changes.longNames.changed.end());
    std::sort(changes.well.changed.begin(), changes.well.changed.end());
    return changes;
}

} // namespace ketrilo
