#pragma once
// The one way a full path reaches the file system: the links on the way are followed as
// the system follows them, and a path longer than the system takes in one call is opened
// component by component. An absolute path starts at "/", a relative one at the working
// folder. On failure the result is invalid and errno says why (ELOOP for a link that loops).

#include "core/disk/UniqueFd.h"

#include <sys/stat.h>

#include <string>

namespace ketrilo {

// A readable handle on the folder at path (a trailing "/" is allowed); a link that ends
// the path is followed, as "path/" is by the system. "" opens nothing.
[[nodiscard]] UniqueFd OpenFolderByPath(const std::string& path);

// As OpenFolderByPath, for a folder of a measured tree, where a link is an entry of its
// own: a link that ends the path is not followed, even before a trailing "/" (the links
// on the way still are), so a folder replaced by a link since it was read is not entered.
[[nodiscard]] UniqueFd OpenTreeFolderByPath(const std::string& path);

// True when path reaches a folder, as OpenFolderByPath would, without needing to read it.
[[nodiscard]] bool IsFolderByPath(const std::string& path);

// A handle on the folder that holds the entry at path, for the *at calls, and the
// entry's own name; invalid for "", "/" and a path ending in "/".
struct ContainingFolder {
    UniqueFd folder;
    std::string name;
};
[[nodiscard]] ContainingFolder OpenContainingFolder(const std::string& path);

// The status of the entry at path itself (a link that ends the path is not followed;
// trailing "/" are ignored); false when there is none, with errno set.
[[nodiscard]] bool StatByPath(const std::string& path, struct stat& status);

} // namespace ketrilo
