#include "core/disk/CanonicalPath.h"

#include "core/disk/OpenByPath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <vector>

namespace ketrilo {

namespace {

// As many links as the system follows in one path before it reports a loop.
constexpr int MaxLinksFollowed = 40;

// path is absolute, so it holds a "/"; the root keeps its own.
void DropLastSegment(std::string& path) {
    path.resize(std::max<size_t>(path.rfind('/'), 1));
}

void AppendSegment(std::string& path, std::string_view segment) {
    if (path.back() != '/')
        path += '/';
    path += segment;
}

// The segments of path in reverse, so that the next one is at the back.
void PushSegments(std::vector<std::string>& todo, std::string_view path) {
    size_t end = path.size();
    while (true) {
        const size_t slash = path.rfind('/', end == 0 ? 0 : end - 1);
        const size_t begin = slash == std::string_view::npos || end == 0 ? 0 : slash + 1;
        todo.emplace_back(path.substr(begin, end - begin));
        if (begin == 0)
            return;
        end = slash;
    }
}

// The entry at path as the system sees it: whether it is a folder, or the text a link holds.
struct Entry {
    bool found = false;
    bool folder = false;
    std::optional<std::string> linkTarget;
};

Entry EntryAt(const std::string& path) {
    Entry entry;
    const ContainingFolder parent = OpenContainingFolder(path);
    struct stat status {};
    if (!parent.folder.Valid() ||
        ::fstatat(parent.folder.Get(), parent.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return entry;
    entry.found = true;
    entry.folder = S_ISDIR(status.st_mode);
    if (S_ISLNK(status.st_mode)) {
        std::string target(PATH_MAX, '\0');
        const ssize_t length =
            ::readlinkat(parent.folder.Get(), parent.name.c_str(), target.data(), target.size());
        if (length > 0 && static_cast<size_t>(length) < target.size()) {
            target.resize(static_cast<size_t>(length));
            entry.linkTarget = std::move(target);
        }
    }
    return entry;
}

class Spelling {
public:
    explicit Spelling(std::string_view path) { PushSegments(m_todo, path); }

    std::string Result() && {
        while (Step()) {
        }
        return std::move(m_result);
    }

private:
    bool Step() {
        if (m_todo.empty()) {
            // A path that ends in "/", "." or ".." names the folder it reaches.
            if (m_follow && !m_unreachable && m_result != "/" && Follow("."))
                return true;
            return false;
        }
        const std::string segment = std::move(m_todo.back());
        m_todo.pop_back();
        if (segment.empty() || segment == ".") {
            m_follow = true;
        } else if (m_unreachable) {
            AppendSegment(m_result, segment);
        } else if (segment != "..") {
            AppendSegment(m_result, segment);
            m_follow = false;
        } else if (m_result != "/" && !Follow("..")) {
            GoUp();
        }
        return true;
    }

    // Replaces a link that ends the path so far by its target, then goes on with next;
    // false when the path so far does not end in a link (or in one that cannot be read).
    bool Follow(const std::string& next) {
        const Entry entry = EntryAt(m_result);
        if (!entry.linkTarget)
            return false;
        if (m_linksLeft-- == 0) { // a loop: the system stops here
            m_unreachable = true;
            AppendSegment(m_result, next);
            return true;
        }
        m_todo.push_back(next);
        PushSegments(m_todo, *entry.linkTarget);
        if (entry.linkTarget->starts_with('/'))
            m_result.resize(1); // the root: the path so far is absolute
        else
            DropLastSegment(m_result);
        return true;
    }

    // ".." from a folder that is no link: the folder that holds it, as the system reaches
    // that (a link there is followed if the path ends). From anything else the system
    // cannot go up: the ".." is kept.
    void GoUp() {
        if (!EntryAt(m_result).folder) {
            m_unreachable = true;
            AppendSegment(m_result, "..");
            return;
        }
        DropLastSegment(m_result);
        m_follow = true;
    }

    std::string m_result = "/";
    std::vector<std::string> m_todo; // the segments still to take, the next one last
    int m_linksLeft = MaxLinksFollowed;
    bool m_follow = false;      // the path so far must reach a folder through its last link
    bool m_unreachable = false; // a ".." was kept: nothing below it can be reached
};

} // namespace

std::string CanonicalPath(std::string_view absolutePath) {
    return Spelling(absolutePath).Result();
}

} // namespace ketrilo
