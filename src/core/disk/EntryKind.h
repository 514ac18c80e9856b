#pragma once
// What an entry on disk is, read without following a link.

#include <sys/stat.h>

namespace ketrilo {

// Gone: the entry vanished between reading its folder and reading its status.
enum class EntryKind { Folder, File, Link, System, Gone };

[[nodiscard]] inline EntryKind EntryKindOfMode(mode_t mode) {
    if (S_ISDIR(mode))
        return EntryKind::Folder;
    if (S_ISREG(mode))
        return EntryKind::File;
    if (S_ISLNK(mode))
        return EntryKind::Link;
    return EntryKind::System;
}

} // namespace ketrilo
