#pragma once
// Folder paths always end in "/"; a full path is its folder followed by its name.

#include <string>

namespace ketrilo {

// path unchanged when it ends in "/", otherwise path + "/"; "" gives "/".
[[nodiscard]] std::string WithTrailingBackslash(const std::string& path);

struct SplitPath {
    std::string folder; // up to and including the last "/"
    std::string name;   // after the last "/"
};
[[nodiscard]] SplitPath SplitFullPath(const std::string& path);

} // namespace ketrilo
