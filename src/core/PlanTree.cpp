#include "PlanTree.h"

#include "CanonicalPath.h"
#include "DirectorySearch.h"
#include "EscapedText.h"
#include "ImageEstimate.h"
#include "KetriloError.h"
#include "Numbers.h"
#include "OpenByPath.h"
#include "Paths.h"

#include <sys/stat.h>

#include <algorithm>
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
        TSearchRec rec;
        rec.Name = split.name;
        DirectorySearch entry = DirectorySearch::Entry(path, faAnyFile);
        if (entry.Found())
            rec = entry.Current();
        return Add(rec, path, -1);
    }

private:
    uint32_t Add(const TSearchRec& rec, const std::string& diskPath, int32_t parent) {
        const auto index = static_cast<uint32_t>(m_tree.nodes.size());
        PlanNode node;
        node.name = rec.Name;
        node.diskPath = diskPath;
        node.parent = parent;
        node.isFolder = (rec.Attr & faDirectory) != 0;
        node.recordBytes = EntryRecordBytes(rec.Name, node.isFolder, rec.Size);
        node.visible = (rec.Attr & (faHidden | faSysFile)) == 0;
        if (!node.isFolder) {
            // A sector is a cluster; a sparse file's bytes may reach the largest size.
            node.dataBytes = BytesOnDisc(ClustersFor(ImageSectorBytes, rec.Size));
            node.contentBytes = node.dataBytes;
            node.wellClusters = node.dataBytes / ImageSectorBytes;
            if (m_progress != nullptr)
                m_progress->AddFiles(1, rec.Size);
        }
        m_tree.nodes.push_back(std::move(node));
        if (m_tree.nodes[index].isFolder)
            Fill(index);
        return index;
    }

    // Reads the folder's entries, sorted by name so that equal trees give equal plans.
    // The folder is opened by its path however long, and closed before its sub-folders
    // are read, so that a deep tree does not hold a handle per level.
    void Fill(uint32_t index) {
        const std::string folder = m_tree.nodes[index].diskPath + "/";
        std::vector<TSearchRec> entries;
        struct stat st;
        {
            const UniqueFd fd = OpenFolderByPath(folder);
            if (!fd.Valid() || fstat(fd.Get(), &st) != 0)
                return;
            if (std::find(m_path.begin(), m_path.end(), FolderId{st.st_dev, st.st_ino}) !=
                m_path.end())
                return;
            if (m_progress != nullptr) {
                m_progress->ThrowIfCancelled();
                m_progress->EnterFolder(folder);
            }
            entries = SearchWholeFolderAt(fd.Get(), faAnyFile);
        }
        std::sort(entries.begin(), entries.end(),
                  [](const TSearchRec& a, const TSearchRec& b) { return a.Name < b.Name; });

        m_path.push_back(FolderId{st.st_dev, st.st_ino});
        int64_t records = 0, data = 0, content = 0, clusters = 0;
        std::vector<uint32_t> children;
        for (const TSearchRec& rec : entries) {
            const uint32_t child = Add(rec, folder + rec.Name, static_cast<int32_t>(index));
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

    PlanTree& m_tree;
    WorkProgress* m_progress;
    std::vector<FolderId> m_path;
};

} // namespace

PlanTree ScanPlanTree(const std::vector<std::string>& paths, WorkProgress* progress) {
    PlanTree tree;
    TreeScan scan(tree, progress);
    for (const std::string& path : paths)
        tree.roots.push_back(scan.Root(path));
    return tree;
}

} // namespace ketrilo
