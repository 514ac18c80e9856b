#include "OpenByPath.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace ketrilo {

namespace {

constexpr int StepFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
constexpr int ReadFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Where the kernel can resolve the whole path in one call with links refused, that call
// does the same as the steps below; nullopt-like -1 with errno ENOSYS when it cannot.
int OpenWhole(const std::string& path, int flags) {
    if (path.size() >= PATH_MAX) {
        errno = ENAMETOOLONG;
        return -1;
    }
    open_how how{};
    how.flags = static_cast<uint64_t>(flags);
    how.resolve = RESOLVE_NO_SYMLINKS;
    return static_cast<int>(::syscall(SYS_openat2, AT_FDCWD, path.c_str(), &how, sizeof how));
}

// One openat per component, each refusing a link; only search permission is needed on
// the way, as for the kernel's own resolution.
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

UniqueFd Open(const std::string& path, int flags) {
    if (path.empty()) {
        errno = ENOENT;
        return {};
    }
    const int whole = OpenWhole(path, flags);
    if (whole >= 0)
        return UniqueFd(whole);
    if (errno != ENAMETOOLONG && errno != ENOSYS && errno != EPERM && errno != E2BIG)
        return {};
    return OpenByComponents(path, flags);
}

} // namespace

UniqueFd OpenFolderByPath(const std::string& path) {
    return Open(path, ReadFolderFlags);
}

ContainingFolder OpenContainingFolder(const std::string& path) {
    const size_t slash = path.rfind('/');
    ContainingFolder result;
    result.name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (result.name.empty()) {
        errno = path.empty() ? ENOENT : EISDIR;
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
