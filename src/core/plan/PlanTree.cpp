#include "core/plan/PlanTree.h"

#include "core/base/KetriloError.h"
#include "core/disk/CanonicalPath.h"
#include "core/disk/DirectoryReader.h"
#include "core/disk/DirectorySearch.h"
#include "core/disk/OpenByPath.h"
#include "core/image/DiscImageChecks.h"
#include "core/image/FolderReadAhead.h"
#include "core/image/ImageLayout.h"
#include "core/text/EscapedText.h"
#include "core/text/Numbers.h"
#include "core/text/Paths.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <limits>
#include <set>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace ketrilo {

namespace {

struct FolderId {
    dev_t dev;
    ino_t ino;
    bool operator==(const FolderId&) const = default;
};

// The entry called name in the folder open on dirFd as the image records it.
LayoutEntry LayoutOf(const std::string& name, const struct stat& status, int dirFd) {
    LayoutEntry entry{name, LayoutKindOf(status.st_mode), 0, {}};
    if (S_ISREG(status.st_mode))
        entry.size = status.st_size;
    else if (S_ISLNK(status.st_mode))
        entry.linkTarget = EntryStatusAt(dirFd, name.c_str(), status).linkTarget;
    return entry;
}

// A folder's own extents in both trees and its sub-folders' records in the path tables,
// each table written twice.
int64_t FolderBytes(const FolderLayout& layout) {
    return (layout.isoSectors + layout.jolietSectors) * ImageSectorBytes +
           2 * (layout.isoPathTableBytes + layout.jolietPathTableBytes);
}

class TreeScan {
public:
    TreeScan(PlanTree& tree, WorkProgress* progress, FolderWitness* witness)
        : m_tree(tree), m_progress(progress), m_witness(witness) {}

    uint32_t Root(const std::string& given) {
        const std::string path = given.starts_with('/') ? CanonicalPath(given) : given;
        const SplitPath split = SplitFullPath(path);
        if (split.name.empty())
            throw KetriloError("名前のない項目 (" + EscapeControlCharacters(path) +
                               ") はディスクに置けません");
        struct stat status {};
        if (!StatByPath(path, status)) // gone: the image has nothing of it either
            return Add(TSearchRec{split.name}, path, -1, status, nullptr, 0);
        // Each item lies at the root, where its Joliet path starts.
        const ContainingFolder at =
            S_ISLNK(status.st_mode) ? OpenContainingFolder(path) : ContainingFolder{};
        const LayoutEntry entry = LayoutOf(split.name, status, at.folder.Get());
        const int64_t jolietPath = JolietFolderBytes(split.name);
        const uint32_t index =
            Add(SearchRecordOf(split.name.c_str(), status), path, -1, status, &entry, jolietPath);
        if (m_tree.nodes[index].isFolder) {
            m_root = path + "/";
            UniqueFd fd = OpenFolderByPath(m_root);
            if (fd.Valid())
                Fill(index, fd, jolietPath);
        }
        return index;
    }

private:
    // entry: its record, none for an entry gone; jolietPath: a folder's, for its extents.
    uint32_t Add(const TSearchRec& rec, const std::string& diskPath, int32_t parent,
                 const struct stat& status, const LayoutEntry* entry, int64_t jolietPath) {
        const auto index = static_cast<uint32_t>(m_tree.nodes.size());
        PlanNode node;
        node.name = rec.Name;
        node.diskPath = diskPath;
        node.parent = parent;
        node.isFolder = (rec.Attr & faDirectory) != 0;
        if (entry != nullptr)
            node.recordBytes = RootEntryBytes(*entry);
        // A folder that cannot be read still has its extents, as an empty one.
        if (node.isFolder)
            node.contentBytes = FolderBytes(LayOutFolder({}, false, jolietPath));
        node.visible = (rec.Attr & (faHidden | faSysFile)) == 0;
        if (!node.isFolder) {
            // A sector is a cluster; a sparse file's bytes may reach the largest size.
            const int64_t bytes = BytesOnDisc(ClustersFor(ImageSectorBytes, rec.Size));
            node.wellClusters = bytes / ImageSectorBytes;
            // The image holds the data of a file of several names once.
            const bool seen = rec.Kind == EntryKind::File && status.st_nlink > 1 &&
                              !m_linkedFiles.emplace(status.st_dev, status.st_ino).second;
            node.dataBytes = seen ? 0 : bytes;
            node.contentBytes = node.dataBytes;
            if (m_progress != nullptr)
                m_progress->AddFiles(1, rec.Size);
        }
        m_tree.nodes.push_back(std::move(node));
        return index;
    }

    // Reads the folder open on fd with everything beneath it, its entries sorted by name
    // so that equal trees give equal plans. A sub-folder is opened from fd, which is
    // closed meanwhile and taken back through the sub-folder's ".." (by its path if the
    // folder moved): a tree of any depth holds one handle at a time and opens each folder
    // once. fd is left invalid when the folder cannot be found again. jolietPath: the
    // folder's, with its well item at the root.
    void Fill(uint32_t index, UniqueFd& fd, int64_t jolietPath) {
        struct stat st;
        if (fstat(fd.Get(), &st) != 0)
            return;
        const FolderId id{st.st_dev, st.st_ino};
        if (std::find(m_path.begin(), m_path.end(), id) != m_path.end())
            return;
        const std::string folder = m_tree.nodes[index].diskPath + "/";
        if (m_progress != nullptr) {
            m_progress->ThrowIfCancelled();
            m_progress->EnterFolder(folder);
        }
        std::vector<EntryWithStatus> entries = ReadWholeFolder(fd.Get(), true);
        std::sort(
            entries.begin(), entries.end(),
            [](const EntryWithStatus& a, const EntryWithStatus& b) { return a.name < b.name; });
        std::vector<LayoutEntry> records;
        records.reserve(entries.size());
        for (const EntryWithStatus& entry : entries)
            records.push_back(LayoutOf(entry.name, entry.status, fd.Get()));
        const FolderLayout layout = LayOutFolder(records, false, jolietPath);
        if (m_witness != nullptr) {
            std::vector<EntryWithStatus> seen = entries; // the witness may take them
            m_witness->FolderRead(m_root, folder, fd.Get(), seen);
        }

        m_path.push_back(id);
        int64_t data = 0, content = 0, clusters = 0;
        std::vector<uint32_t> children;
        for (size_t i = 0; i < entries.size(); ++i) {
            const EntryWithStatus& entry = entries[i];
            const uint32_t child =
                Add(SearchRecordOf(entry.name.c_str(), entry.status), folder + entry.name,
                    static_cast<int32_t>(index), entry.status, &records[i], layout.jolietPaths[i]);
            if (m_tree.nodes[child].isFolder && fd.Valid())
                Enter(child, entry.name, fd, id, folder, layout.jolietPaths[i]);
            const PlanNode& c = m_tree.nodes[child];
            // Sparse files and hard links to them can hold more than 64 bits can count.
            data = SaturatingAdd(data, c.dataBytes);
            content = SaturatingAdd(content, c.contentBytes);
            if (c.visible)
                clusters = SaturatingAdd(clusters, c.wellClusters);
            children.push_back(child);
        }
        m_path.pop_back();

        PlanNode& node = m_tree.nodes[index];
        node.children = std::move(children);
        node.dataBytes = data;
        node.contentBytes = SaturatingAdd(FolderBytes(layout), content);
        node.wellClusters = node.visible ? clusters : 0;
    }

    // Fills the sub-folder name of the folder open on fd (id, at folder).
    void Enter(uint32_t child, const std::string& name, UniqueFd& fd, const FolderId& id,
               const std::string& folder, int64_t jolietPath) {
        UniqueFd sub(
            ::openat(fd.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!sub.Valid())
            return;
        fd.Reset();
        Fill(child, sub, jolietPath);
        if (sub.Valid())
            fd.Reset(::openat(sub.Get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        struct stat st;
        if (!fd.Valid() || fstat(fd.Get(), &st) != 0 || FolderId{st.st_dev, st.st_ino} != id)
            fd = OpenFolderByPath(folder);
    }

    PlanTree& m_tree;
    WorkProgress* m_progress;
    FolderWitness* m_witness;
    std::string m_root; // the item whose tree is read, ending in "/"
    std::vector<FolderId> m_path;
    std::set<std::pair<dev_t, ino_t>> m_linkedFiles; // files of several names met
};

} // namespace

void LeaveOutOfImage(PlanTree& tree, const std::vector<std::string>& diskPaths) {
    if (diskPaths.empty())
        return;
    std::unordered_map<std::string_view, uint32_t> nodeAt;
    for (uint32_t i = 0; i < tree.nodes.size(); ++i)
        nodeAt.emplace(tree.nodes[i].diskPath, i);
    for (const std::string& path : diskPaths) {
        const auto found = nodeAt.find(path);
        if (found == nodeAt.end())
            continue;
        PlanNode& node = tree.nodes[found->second];
        const int64_t cost = SaturatingAdd(node.recordBytes, node.contentBytes);
        // A sum held at the largest value stays there: what it lost is unknown.
        const auto less = [](int64_t& sum, int64_t part) {
            if (sum != std::numeric_limits<int64_t>::max())
                sum = std::max<int64_t>(sum - part, 0);
        };
        for (int32_t p = node.parent; p >= 0; p = tree.nodes[p].parent) {
            less(tree.nodes[p].contentBytes, cost);
            less(tree.nodes[p].dataBytes, node.dataBytes);
        }
        node.recordBytes = node.contentBytes = node.dataBytes = 0;
    }
}

PlanTree ScanPlanTree(const std::vector<std::string>& paths, WorkProgress* progress,
                      FolderWitness* witness) {
    PlanTree tree;
    TreeScan scan(tree, progress, witness);
    for (const std::string& path : paths)
        tree.roots.push_back(scan.Root(path));
    return tree;
}

} // namespace ketrilo
