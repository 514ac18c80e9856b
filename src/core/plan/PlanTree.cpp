#include "core/plan/PlanTree.h"

#include "core/base/KetriloError.h"
#include "core/disk/CanonicalPath.h"
#include "core/disk/DirectoryReader.h"
#include "core/disk/DirectorySearch.h"
#include "core/disk/OpenByPath.h"
#include "core/image/DiscImageEstimate.h"
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

class TreeScan {
public:
    TreeScan(PlanTree& tree, WorkProgress* progress) : m_tree(tree), m_progress(progress) {}

    uint32_t Root(const std::string& given) {
        const std::string path = given.starts_with('/') ? CanonicalPath(given) : given;
        const SplitPath split = SplitFullPath(path);
        if (split.name.empty())
            throw KetriloError("名前のない項目 (" + EscapeControlCharacters(path) +
                               ") はディスクに置けません");
        struct stat status {};
        const uint32_t index =
            StatByPath(path, status)
                ? Add(SearchRecordOf(split.name.c_str(), status), path, -1, status)
                : Add(TSearchRec{split.name}, path, -1, status);
        if (m_tree.nodes[index].isFolder) {
            UniqueFd fd = OpenFolderByPath(path + "/");
            if (fd.Valid())
                Fill(index, fd);
        }
        return index;
    }

private:
    uint32_t Add(const TSearchRec& rec, const std::string& diskPath, int32_t parent,
                 const struct stat& status) {
        const auto index = static_cast<uint32_t>(m_tree.nodes.size());
        PlanNode node;
        node.name = rec.Name;
        node.diskPath = diskPath;
        node.parent = parent;
        node.isFolder = (rec.Attr & faDirectory) != 0;
        node.recordBytes = EntryRecordBytes(rec.Name, node.isFolder, rec.Size);
        if (rec.Kind == EntryKind::Link)
            node.recordBytes += LinkTargetBytes(status.st_size);
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
    // once. fd is left invalid when the folder cannot be found again.
    void Fill(uint32_t index, UniqueFd& fd) {
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

        m_path.push_back(id);
        int64_t records = 0, data = 0, content = 0, clusters = 0;
        std::vector<uint32_t> children;
        for (const EntryWithStatus& entry : entries) {
            const uint32_t child =
                Add(SearchRecordOf(entry.name.c_str(), entry.status), folder + entry.name,
                    static_cast<int32_t>(index), entry.status);
            if (m_tree.nodes[child].isFolder && fd.Valid())
                Enter(child, entry.name, fd, id, folder);
            const PlanNode& c = m_tree.nodes[child];
            // Sparse files and hard links to them can hold more than 64 bits can count.
            records = SaturatingAdd(records, c.recordBytes);
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
        node.contentBytes = SaturatingAdd(FolderExtentBytes(records), content);
        node.wellClusters = node.visible ? clusters : 0;
    }

    // Fills the sub-folder name of the folder open on fd (id, at folder).
    void Enter(uint32_t child, const std::string& name, UniqueFd& fd, const FolderId& id,
               const std::string& folder) {
        UniqueFd sub(
            ::openat(fd.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!sub.Valid())
            return;
        fd.Reset();
        Fill(child, sub);
        if (sub.Valid())
            fd.Reset(::openat(sub.Get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        struct stat st;
        if (!fd.Valid() || fstat(fd.Get(), &st) != 0 || FolderId{st.st_dev, st.st_ino} != id)
            fd = OpenFolderByPath(folder);
    }

    PlanTree& m_tree;
    WorkProgress* m_progress;
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

PlanTree ScanPlanTree(const std::vector<std::string>& paths, WorkProgress* progress) {
    PlanTree tree;
    TreeScan scan(tree, progress);
    for (const std::string& path : paths)
        tree.roots.push_back(scan.Root(path));
    return tree;
}

} // namespace ketrilo
