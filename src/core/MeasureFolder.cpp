#include "MeasureFolder.h"

#include "DirectorySearch.h"
#include "NameRules.h"
#include "Numbers.h"
#include "Timestamp.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <optional>
#include <unordered_set>
#include <utility>
#include <vector>

namespace ketrilo {

namespace {

constexpr int FolderOpenFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

struct FolderId {
    dev_t dev = 0;
    ino_t ino = 0;
    bool operator==(const FolderId&) const = default;
};

struct FolderIdHash {
    size_t operator()(const FolderId& id) const noexcept {
        return std::hash<uint64_t>()(static_cast<uint64_t>(id.ino) * 0x9E3779B97F4A7C15ULL ^
                                     static_cast<uint64_t>(id.dev));
    }
};

std::optional<FolderId> IdOf(int fd) {
    struct stat st;
    if (fstat(fd, &st) != 0)
        return std::nullopt;
    return FolderId{st.st_dev, st.st_ino};
}

// An entry read ahead that still needs a step in walk order: a sub-folder to enter or
// a long name to collect. Files are counted while their folder is read.
struct PendingEntry {
    std::string name;
    bool isFolder = false;
    bool isLong = false;
};

struct Frame {
    DirHandle dir; // null while closed to stay within MeasureOpenFolderLimit
    FolderId id;
    std::vector<PendingEntry> pending;
    size_t next = 0;
    size_t folderLength = 0; // length of the walk's folder text inside this folder
};

// Depth first over open directory handles with an explicit stack, so neither the
// length of a path nor the depth of a tree can stop it.
class TreeWalk {
public:
    TreeWalk(bool collect, int64_t& total, LongNameList& longNames, IconSource& icons,
             WorkProgress* progress)
        : m_collect(collect), m_total(total), m_longNames(longNames), m_icons(icons),
          m_progress(progress) {}

    void Run(const std::string& folder) {
        m_folder = folder;
        std::string openPath = folder;
        while (openPath.size() > 1 && openPath.back() == '/')
            openPath.pop_back(); // so that O_NOFOLLOW applies to the folder itself
        if (openPath.empty())
            return;
        Enter(open(openPath.c_str(), FolderOpenFlags));
        while (!m_stack.empty()) {
            Frame& top = m_stack.back();
            if (top.next == top.pending.size())
                Leave();
            else
                Step(std::move(top.pending[top.next++]));
        }
    }

private:
    // Takes fd (closing it on failure) and pushes its folder once its entries are read.
    void Enter(int fd) {
        if (fd < 0)
            return;
        const std::optional<FolderId> id = IdOf(fd);
        DIR* dir = id && !m_onPath.contains(*id) ? fdopendir(fd) : nullptr;
        if (dir == nullptr) {
            close(fd);
            return;
        }
        if (m_progress != nullptr) {
            m_progress->ThrowIfCancelled();
            m_progress->EnterFolder(m_folder);
        }
        Frame frame;
        frame.dir.reset(dir);
        frame.id = *id;
        frame.folderLength = m_folder.size();
        ReadEntries(frame);
        m_onPath.insert(*id);
        m_stack.push_back(std::move(frame));
        ++m_openCount;
        StayWithinLimit();
    }

    void ReadEntries(Frame& frame) {
        const int fd = dirfd(frame.dir.get());
        int64_t files = 0;
        int64_t clusters = 0;
        while (const dirent* entry = readdir(frame.dir.get())) {
            const char* name = entry->d_name;
            if (name[0] == '.')
                continue; // hidden, and "." and ".."
            struct stat st;
            bool haveStat = false;
            unsigned char type = entry->d_type;
            if (type == DT_UNKNOWN) {
                if (fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                    continue;
                haveStat = true;
                type = S_ISDIR(st.st_mode)   ? DT_DIR
                       : S_ISREG(st.st_mode) ? DT_REG
                       : S_ISLNK(st.st_mode) ? DT_LNK
                                             : DT_UNKNOWN;
            }
            if (type == DT_REG) {
                if ((haveStat || fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0) &&
                    S_ISREG(st.st_mode)) {
                    ++files;
                    clusters += ClustersFor(ClusterSize, st.st_size);
                }
            } else if (type != DT_DIR && type != DT_LNK) {
                continue; // system entries
            }
            const bool isFolder = type == DT_DIR;
            const bool isLong = m_collect && IsLongName(name);
            if (isFolder || isLong)
                frame.pending.push_back(PendingEntry{name, isFolder, isLong});
        }
        m_total += clusters;
        if (m_progress != nullptr)
            m_progress->AddFiles(files, BytesOnDisc(clusters));
    }

    // The long-name test comes before the descent, so a folder's row precedes its contents'.
    void Step(PendingEntry entry) {
        if (entry.isLong) {
            const std::string fullPath = m_folder + entry.name;
            if (!m_longNames.LongNameListContains(fullPath)) {
                const int32_t icon =
                    entry.isFolder ? FolderIconIndex : m_icons.IconIndexFor(fullPath);
                m_longNames.Append(LongNameRow{entry.name, NameLength(entry.name), m_folder, icon});
            }
        }
        if (!entry.isFolder)
            return;
        const int fd = openat(dirfd(m_stack.back().dir.get()), entry.name.c_str(), FolderOpenFlags);
        if (fd < 0)
            return; // unreadable: contributes nothing
        m_folder.append(entry.name).push_back('/');
        const size_t depth = m_stack.size();
        Enter(fd);
        if (m_stack.size() == depth)
            m_folder.resize(m_stack.back().folderLength);
    }

    void Leave() {
        m_onPath.erase(m_stack.back().id);
        if (m_stack.size() >= 2 && !m_stack[m_stack.size() - 2].dir)
            Reopen(m_stack.size() - 2);
        if (m_stack.back().dir)
            --m_openCount;
        m_stack.pop_back();
        if (!m_stack.empty())
            m_folder.resize(m_stack.back().folderLength);
    }

    // Closes the shallowest open handles below the top; frame 0 stays open as the anchor
    // from which any folder on the path can be reopened.
    void StayWithinLimit() {
        while (m_openCount > MeasureOpenFolderLimit) {
            m_stack[++m_closedUpTo].dir.reset();
            --m_openCount;
        }
    }

    // Reopens frame index, the parent of the top frame: through ".." of the top's handle
    // when that leads back to the same folder, otherwise by its names from the nearest
    // open ancestor. A folder that cannot be found again keeps its remaining entries unread.
    void Reopen(size_t index) {
        Frame& frame = m_stack[index];
        m_closedUpTo = index - 1;
        int fd = -1;
        if (const DirHandle& child = m_stack.back().dir)
            fd = SameFolder(openat(dirfd(child.get()), "..", FolderOpenFlags), frame.id);
        if (fd < 0)
            fd = SameFolder(OpenByNames(index), frame.id);
        DIR* dir = fd >= 0 ? fdopendir(fd) : nullptr;
        if (dir == nullptr) {
            if (fd >= 0)
                close(fd);
            frame.next = frame.pending.size();
            return;
        }
        frame.dir.reset(dir);
        ++m_openCount;
    }

    static int SameFolder(int fd, const FolderId& id) {
        if (fd >= 0 && IdOf(fd) != std::optional<FolderId>(id)) {
            close(fd);
            return -1;
        }
        return fd;
    }

    int OpenByNames(size_t index) const {
        size_t anchor = index - 1;
        while (!m_stack[anchor].dir)
            --anchor;
        int current = dirfd(m_stack[anchor].dir.get());
        int owned = -1;
        for (size_t k = anchor + 1; k <= index; ++k) {
            const size_t start = m_stack[k - 1].folderLength;
            const std::string name = m_folder.substr(start, m_stack[k].folderLength - start - 1);
            const int next = openat(current, name.c_str(), FolderOpenFlags);
            if (owned >= 0)
                close(owned);
            if (next < 0)
                return -1;
            current = owned = next;
        }
        return owned;
    }

    const bool m_collect;
    int64_t& m_total;
    LongNameList& m_longNames;
    IconSource& m_icons;
    WorkProgress* const m_progress;
    std::string m_folder; // the current folder's path, ending in "/"
    std::vector<Frame> m_stack;
    std::unordered_set<FolderId, FolderIdHash> m_onPath;
    size_t m_openCount = 0;
    size_t m_closedUpTo = 0; // frames 1 to m_closedUpTo have their handles closed
};

} // namespace

int64_t MeasureFolder(const std::string& folder, bool collect, int64_t& TreeClusterTotal,
                      LongNameList& longNames, IconSource& icons, WorkProgress* progress) {
    TreeWalk(collect, TreeClusterTotal, longNames, icons, progress).Run(folder);
    if (progress != nullptr)
        progress->ThrowIfCancelled(); // a request after the last folder still counts
    return TreeClusterTotal;
}

FolderRow AddFolderRow(const tfileproperty& p) {
    return FolderRow{.name = p.name,
                     .ext = ExtensionOf(p.name),
                     .bytes = p.fileclustersize,
                     .clusters = p.clustersize,
                     .length = NameLength(p.name),
                     .lastModified = p.lastmodify,
                     .icon = p.icon};
}

void ListFolder(const std::string& folder, FolderList& list, IconSource& icons,
                WorkProgress* progress) {
    if (progress != nullptr)
        progress->EnterFolder(folder);
    for (DirectorySearch search = DirectorySearch::Folder(folder, faDirectory); search.Found();
         search.Next()) {
        if (progress != nullptr)
            progress->ThrowIfCancelled();
        const TSearchRec& entry = search.Current();
        tfileproperty p;
        p.name = entry.Name;
        p.path = folder;
        p.ext = ExtensionOf(entry.Name);
        p.length = NameLength(entry.Name);
        p.lastmodify = TimestampText(entry.Time);
        if ((entry.Attr & faDirectory) != 0) {
            int64_t TreeClusterTotal = 0;
            LongNameList notCollected;
            p.clustersize = MeasureFolder(folder + entry.Name + "/", false, TreeClusterTotal,
                                          notCollected, icons, progress);
            p.icon = FolderIconIndex;
        } else {
            // The search's own lstat size is what GetFileSize64 of the path would read
            // again; one stat per entry is enough.
            p.clustersize = ClustersFor(ClusterSize, entry.Size);
            p.icon = icons.IconIndexFor(folder + entry.Name);
            if (progress != nullptr)
                progress->AddFiles(1, BytesOnDisc(p.clustersize));
        }
        p.fileclustersize = BytesOnDisc(p.clustersize);
        list.rows.push_back(AddFolderRow(p));
    }
}

} // namespace ketrilo
