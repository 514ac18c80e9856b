#include "MeasureFolder.h"

#include "DirectorySearch.h"
#include "NameRules.h"
#include "Numbers.h"
#include "Timestamp.h"

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
            LongNameList notCollected;
            p.clustersize =
                MeasureFolder(folder + entry.Name + "/", false, notCollected, icons, progress);
            p.icon = FolderIconIndex;
        } else {
            // The search's own status gives the size and the kind the picture needs:
            // one stat per entry is enough.
            p.clustersize = ClustersFor(ClusterSize, entry.Size);
            p.icon = icons.IconIndexFor(folder + entry.Name, entry.Kind);
            if (progress != nullptr)
                progress->AddFiles(1, BytesOnDisc(p.clustersize));
        }
        p.fileclustersize = BytesOnDisc(p.clustersize);
        list.rows.push_back(AddFolderRow(p));
    }
}

} // namespace ketrilo
