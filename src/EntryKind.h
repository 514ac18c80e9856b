#pragma once
// What an entry is, for the picture its row shows: a folder shows the folder picture and
// a symbolic link the link picture whatever its name; only a file is pictured by its type.

#include <string>

enum class EntryKind { Folder, Link, File };

// The kind of the entry at fullPath (the file system's bytes), read without following a
// link; File when the entry cannot be read.
[[nodiscard]] EntryKind EntryKindOf(const std::string& fullPath);
