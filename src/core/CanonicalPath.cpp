#include "CanonicalPath.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>

namespace ketrilo {

namespace {

// path is absolute, so it holds a "/"; the root keeps its own.
void DropLastSegment(std::string& path) {
    path.resize(std::max<size_t>(path.rfind('/'), 1));
}

// What "<folder>/.." reaches, or "" when the system cannot go up from folder.
std::string ParentAsTheSystemSees(const std::string& folder) {
    struct stat status {};
    if (lstat(folder.c_str(), &status) != 0)
        return {};
    std::string parent = folder;
    if (S_ISLNK(status.st_mode)) {
        const std::unique_ptr<char, decltype(&std::free)> target(realpath(folder.c_str(), nullptr),
                                                                 &std::free);
        if (!target)
            return {};
        parent = target.get();
    } else if (!S_ISDIR(status.st_mode)) {
        return {};
    }
    DropLastSegment(parent);
    return parent;
}

} // namespace

std::string CanonicalPath(std::string_view absolutePath) {
    std::string result = "/";
    bool unreachable = false; // a ".." was kept: nothing below it can be reached
    size_t pos = 0;
    while (pos < absolutePath.size()) {
        const size_t end = std::min(absolutePath.find('/', pos), absolutePath.size());
        const std::string_view segment = absolutePath.substr(pos, end - pos);
        pos = end + 1;
        if (segment.empty() || segment == ".")
            continue;
        if (segment == ".." && result == "/")
            continue;
        if (segment == ".." && !unreachable) {
            std::string parent = ParentAsTheSystemSees(result);
            if (!parent.empty()) {
                result = std::move(parent);
                continue;
            }
            unreachable = true;
        }
        if (result.back() != '/')
            result += '/';
        result += segment;
    }
    return result;
}

} // namespace ketrilo
