#include "core/disk/OpenByPath.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>

namespace ketrilo {

namespace {

constexpr int StepFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
constexpr int ReadFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// One openat per component, each following a link as the system's own resolution does
// (a relative target from the folder that holds the link); only search permission is
// needed on the way. Each step is one resolution of the kernel's, so a link that loops
// still fails with ELOOP.
UniqueFd OpenByComponents(const std::string& path, int lastFlags) {
    UniqueFd current(::open(path.front() == '/' ? "/" : ".", StepFlags));
    size_t start = 0;
    bool opened = false;
    while (current.Valid()) {
        start = path.find_first_not_of('/', start);
        if (start == std::string::npos)
            break;
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const bool last = path.find_first_not_of('/', end) == std::string::npos;
        const std::string name = path.substr(start, end - start);
        current.Reset(::openat(current.Get(), name.c_str(), last ? lastFlags : StepFlags));
        opened = last;
        start = end;
    }
    if (current.Valid() && !opened) // "/" or "." alone
        current.Reset(::openat(current.Get(), ".", lastFlags));
    return current;
}

// The system reads a path only up to its first NUL byte (a decoded "%00"), so such a
// path would name another entry: it names none.
bool NamesNothing(const std::string& path) {
    return path.empty() || path.find('\0') != std::string::npos;
}

UniqueFd Open(const std::string& path, int flags) {
    if (NamesNothing(path)) {
        errno = ENOENT;
        return {};
    }
    if (path.size() < PATH_MAX) {
        UniqueFd whole(::open(path.c_str(), flags));
        if (whole.Valid() || errno != ENAMETOOLONG)
            return whole;
    }
    return OpenByComponents(path, flags);
}

} // namespace

UniqueFd OpenFolderByPath(const std::string& path) {
    return Open(path, ReadFolderFlags);
}

UniqueFd OpenTreeFolderByPath(const std::string& path) {
    // The system follows a link before a trailing "/" whatever the flags say.
    const size_t end = path.find_last_not_of('/');
    return Open(end == std::string::npos ? path : path.substr(0, end + 1),
                ReadFolderFlags | O_NOFOLLOW);
}

bool IsFolderByPath(const std::string& path) {
    return Open(path, StepFlags).Valid();
}

ContainingFolder OpenContainingFolder(const std::string& path) {
    const size_t slash = path.rfind('/');
    ContainingFolder result;
    result.name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (NamesNothing(result.name)) {
        errno = path.empty() || !result.name.empty() ? ENOENT : EISDIR;
        return result;
    }
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    result.folder = Open(folder, StepFlags);
    return result;
}

bool StatByPath(const std::string& path, struct stat& status) {
    const size_t end = path.find_last_not_of('/');
    if (end == std::string::npos && !path.empty()) { // "/" itself
        const UniqueFd root = Open(path, StepFlags);
        return root.Valid() && ::fstat(root.Get(), &status) == 0;
    }
    const ContainingFolder parent = OpenContainingFolder(path.substr(0, end + 1));
    return parent.folder.Valid() &&
           ::fstatat(parent.folder.Get(), parent.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
}

} // namespace ketrilo
