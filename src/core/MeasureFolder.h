#pragma once
// The measurement of folder trees and the listing of one folder.

#include "FolderList.h"
#include "IconSource.h"
#include "LongNameList.h"
#include "Rows.h"
#include "WorkProgress.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace ketrilo {

// The walk holds at most this many folder handles open along its path; a deeper
// folder's ancestors are closed and reopened on the way back, so no depth is too deep.
inline constexpr size_t MeasureOpenFolderLimit = 64;

// Walks the tree under folder (ending in "/") depth first in enumeration order and
// adds the clusters of every visible file to TreeClusterTotal; returns its new value.
// With collect, every long name (file or folder) not yet in longNames gets a row,
// before the walk descends into it. Hidden and system entries and everything beneath
// them are skipped; links are not followed and count 0; unreadable folders add
// nothing; a directory already on the path to itself is not entered again.
// With progress, every folder read and every file counted is reported there, and a
// cancel request ends the walk with WorkCancelled (TreeClusterTotal and longNames then
// hold a partial result that the caller discards).
int64_t MeasureFolder(const std::string& folder, bool collect, int64_t& TreeClusterTotal,
                      LongNameList& longNames, IconSource& icons, WorkProgress* progress = nullptr);

// The row of one listed entry.
[[nodiscard]] FolderRow AddFolderRow(const tfileproperty& p);

// Appends one row per visible entry of folder (used as a prefix, ending in "/"), in
// enumeration order: files with their clusters and icon, sub-folders measured over
// their whole tree with icon 0. Never clears the list. progress as for MeasureFolder.
void ListFolder(const std::string& folder, FolderList& list, IconSource& icons,
                WorkProgress* progress = nullptr);

} // namespace ketrilo
