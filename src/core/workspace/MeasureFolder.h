#pragma once
// The measurement of folder trees and the listing of one folder.

#include "core/base/WorkProgress.h"
#include "core/workspace/FolderList.h"
#include "core/workspace/IconSource.h"
#include "core/workspace/LongNameList.h"
#include "core/workspace/Rows.h"
#include "core/workspace/WalkCrew.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace ketrilo {

// Walks the tree under folder (ending in "/"; a path of any length, reached through the
// links on the way; a link in the folder's own place is an entry, not followed) and returns the
// clusters of every visible file in it, a sum that saturates at the largest 64-bit value. Several
// threads share the walk; what it finds is exactly what one thread walking depth first finds. With
// collect, every long name (file or folder) not yet in longNames gets a row, in depth-first
// enumeration order, a folder's own name before the names inside it. Hidden and system entries and
// everything beneath them are skipped; links are not followed and count 0; unreadable folders add
// nothing; a directory already on the path to itself is not entered again. With progress, every
// folder read and every file counted is reported there, and a cancel request ends the walk with
// WorkCancelled (longNames then holds a partial result that the caller discards).
int64_t MeasureFolder(const std::string& folder, bool collect, LongNameList& longNames,
                      IconSource& icons, WorkProgress* progress = nullptr,
                      const WalkOptions& options = {});

// The row of one listed entry, from the fields the listing filled in.
[[nodiscard]] FolderRow AddFolderRow(const tfileproperty& p);

// Appends one row per visible entry of folder (used as a prefix, ending in "/"), in
// enumeration order: files with their clusters and icon, sub-folders measured over
// their whole tree with icon 0. Never clears the list. progress as for MeasureFolder;
// icons is asked from several threads at once; witness sees the sub-folders' walks.
void ListFolder(const std::string& folder, FolderList& list, IconSource& icons,
                WorkProgress* progress = nullptr, FolderWitness* witness = nullptr);

} // namespace ketrilo
