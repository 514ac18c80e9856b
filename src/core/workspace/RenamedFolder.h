#pragma once
// Paths beneath a folder that was renamed.

#include <string>

namespace ketrilo {

// Folder oldPrefix was renamed to newPrefix (both ending in "/"): a path beneath it now
// begins with newPrefix. Returns whether path was beneath it (and so changed).
inline bool FollowRenamedFolder(std::string& path, const std::string& oldPrefix,
                                const std::string& newPrefix) {
    if (!path.starts_with(oldPrefix)) {
        return false;
    }
    path.replace(0, oldPrefix.size(), newPrefix);
    return true;
}

} // namespace ketrilo
