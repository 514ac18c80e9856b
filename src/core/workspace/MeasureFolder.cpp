#include "core/workspace/MeasureFolder.h"

#include "core/base/ParallelShares.h"
#include "core/disk/DirectorySearch.h"
#include "core/text/NameRules.h"
#include "core/text/Numbers.h"
#include "core/text/Timestamp.h"

namespace ketrilo {

int64_t MeasureFolder(const std::string& folder, bool collect, LongNameList& longNames,
                      IconSource& icons, WorkProgress* progress, const WalkOptions& options) {
    const int64_t TreeClusterTotal =
        WalkCrew(collect, progress, options).Run(folder, longNames, icons);
    if (progress != nullptr)
        progress->ThrowIfCancelled(); // a request after the last folder still counts
    return TreeClusterTotal;
}

FolderRow AddFolderRow(const tfileproperty& p) {
    return FolderRow{.name = p.name,
                     .ext = p.ext,
                     .bytes = p.fileclustersize,
                     .clusters = p.clustersize,
                     .length = p.length,
                     .lastModified = p.lastmodify,
                     .icon = p.icon};
}

void ListFolder(const std::string& folder, FolderList& list, IconSource& icons,
                WorkProgress* progress, FolderWitness* witness) {
    if (progress != nullptr)
        progress->EnterFolder(folder);
    const std::vector<TSearchRec> entries = SearchWholeFolder(folder, faDirectory);
    const size_t first = list.rows.size();
    list.rows.resize(first + entries.size());
    const auto rowOf = [&](const TSearchRec& entry, int64_t clusters, int32_t icon) {
        tfileproperty p;
        p.name = entry.Name;
        p.path = folder;
        p.ext = ExtensionOf(entry.Name);
        p.length = NameLength(entry.Name);
        p.lastmodify = TimestampText(entry.Time);
        p.clustersize = clusters;
        p.fileclustersize = BytesOnDisc(clusters);
        p.icon = icon;
        return AddFolderRow(p);
    };
    // Files first, on several threads: in a folder of very many files the time goes to
    // their rows. The search's own status gives the size and the kind the picture needs.
    RunInShares(entries.size(), 4096, [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i) {
            const TSearchRec& entry = entries[i];
            if ((entry.Attr & faDirectory) != 0)
                continue;
            if (progress != nullptr)
                progress->ThrowIfCancelled();
            const int64_t clusters = ClustersFor(ClusterSize, entry.Size);
            list.rows[first + i] =
                rowOf(entry, clusters, icons.IconIndexFor(folder + entry.Name, entry.Kind));
            if (progress != nullptr)
                progress->AddFiles(1, BytesOnDisc(clusters));
        }
    });
    // Then each sub-folder's tree, one after the other: each walk is parallel itself.
    for (size_t i = 0; i < entries.size(); ++i) {
        const TSearchRec& entry = entries[i];
        if ((entry.Attr & faDirectory) == 0)
            continue;
        LongNameList notCollected;
        const int64_t clusters = MeasureFolder(folder + entry.Name + "/", false, notCollected,
                                               icons, progress, WalkOptions{.witness = witness});
        list.rows[first + i] = rowOf(entry, clusters, FolderIconIndex);
    }
}

} // namespace ketrilo
