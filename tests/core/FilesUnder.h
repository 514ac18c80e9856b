#pragma once
// Every file under some paths, as disk paths: what a plan of them must place.

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace ketrilo::test {

// Links count as files, never followed; a hard link counts under each of its names.
inline std::multiset<std::string> FilesUnder(const std::vector<std::string>& paths) {
    namespace fs = std::filesystem;
    std::multiset<std::string> files;
    for (const std::string& path : paths) {
        if (!fs::is_directory(fs::symlink_status(path))) {
            files.insert(path);
            continue;
        }
        for (const auto& e : fs::recursive_directory_iterator(path))
            if (e.is_symlink() || !e.is_directory())
                files.insert(e.path().string());
    }
    return files;
}

} // namespace ketrilo::test
