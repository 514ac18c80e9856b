#include "core/image/ImageFigures.h"

#include "core/disk/OpenByPath.h"
#include "core/image/FolderReadAhead.h"
#include "core/text/Numbers.h"

#include <sys/stat.h>

#include <algorithm>
#include <list>

namespace ketrilo {

namespace {

constexpr size_t LongestName = 255;        // what libisofs takes for a name or link component
constexpr size_t LongestLinkTarget = 1024; // and for a link's whole target

// An entry libisofs refuses, or one whose refusal only it can word.
bool NeedsLibrary(const std::string& name, const EntryStatus& status) {
    if (name.size() > LongestName || (S_ISREG(status.mode) && status.size > LargestImageFile))
        return true;
    if (!S_ISLNK(status.mode))
        return false;
    const std::string& target = status.linkTarget;
    if (target.empty() || target.size() > LongestLinkTarget)
        return true;
    size_t start = 0;
    while (start <= target.size()) {
        const size_t end = std::min(target.find('/', start), target.size());
        if (end - start > LongestName)
            return true;
        start = end + 1;
    }
    return false;
}

// The entry's record in its folder (taking the link's target from status), its file data,
// and whether the library must judge it. False for a file this user may not read.
bool Take(ImageSums& sums, const std::string& name, EntryStatus& status, LayoutEntry& entry) {
    entry.kind = LayoutKindOf(status.mode);
    entry.size = S_ISREG(status.mode) ? status.size : 0;
    sums.needsLibrary = sums.needsLibrary || NeedsLibrary(name, status);
    entry.linkTarget = std::move(status.linkTarget);
    if (!S_ISREG(status.mode))
        return true;
    const int64_t sectors = ClustersFor(2048, status.size);
    if (status.links > 1)
        sums.linked.emplace_back(FileKey{status.dev, status.ino}, sectors);
    else
        sums.dataSectors = SaturatingAdd(sums.dataSectors, sectors);
    return status.readable;
}

void AddSums(ImageSums& to, const ImageSums& from) {
    to.needsLibrary = to.needsLibrary || from.needsLibrary;
    to.folderSectors += from.folderSectors;
    to.isoPathTableBytes += from.isoPathTableBytes;
    to.jolietPathTableBytes += from.jolietPathTableBytes;
    to.dataSectors = SaturatingAdd(to.dataSectors, from.dataSectors);
    to.linked.insert(to.linked.end(), from.linked.begin(), from.linked.end());
    to.findings.insert(to.findings.end(), from.findings.begin(), from.findings.end());
}

// The figure of the folder whose listing has been read; its sub-folders' listings, in the
// order of the figure's folders, go to children.
std::shared_ptr<FolderImageFigure>
FigureOf(FolderListing& listing, int64_t jolietPath,
         std::vector<std::unique_ptr<FolderListing>*>& children) {
    auto figure = std::make_shared<FolderImageFigure>();
    DiscImageChecks checks;
    std::vector<LayoutEntry> entries;
    std::vector<size_t> byName;
    if (!listing.readable) {
        if (listing.denied)
            checks.Unreadable(listing.diskPath.substr(0, listing.diskPath.size() - 1));
    } else {
        checks.CheckFolder(listing.imagePath, listing.diskPath, listing.entries);
        figure->files = listing.files;
        figure->bytes = listing.bytes;
        // By name, as the layout takes them and the read-ahead reads the sub-folders.
        byName.assign(listing.order.rbegin(), listing.order.rend());
        entries.resize(byName.size());
        for (size_t k = 0; k < entries.size(); ++k) {
            const size_t i = byName[k];
            entries[k].name = std::move(listing.entries[i].name); // checked: not needed again
            if (!Take(*figure, entries[k].name, listing.details[i].status, entries[k]))
                checks.Unreadable(listing.diskPath + entries[k].name);
        }
    }
    const FolderLayout layout = LayOutFolder(entries, false, jolietPath);
    figure->needsLibrary = figure->needsLibrary || layout.unnamed;
    figure->folderSectors = layout.isoSectors + layout.jolietSectors;
    figure->isoPathTableBytes = layout.isoPathTableBytes;
    figure->jolietPathTableBytes = layout.jolietPathTableBytes;
    for (size_t k = 0; k < entries.size(); ++k) {
        std::unique_ptr<FolderListing>& sub = listing.details[byName[k]].folder;
        if (entries[k].kind == LayoutEntry::Kind::Folder && sub) {
            figure->folders.push_back({entries[k].name, layout.jolietPaths[k]});
            children.push_back(&sub);
        }
    }
    figure->findings = checks.TakeFindings();
    return figure;
}

class ItemReader {
public:
    ItemReader(ItemImageFigure& figure, KnownFolders& known, WorkProgress* progress)
        : m_figure(figure), m_known(known), m_progress(progress) {}

    void Read(const ImageItem& item) {
        struct stat st;
        m_figure.found = StatByPath(item.diskPath, st);
        m_figure.entry.name = item.imagePath;
        m_figure.checked = ImageEntry{item.imagePath, ImageEntry::Kind::File, 0};
        if (!m_figure.found)
            return; // gone from disk: the burner has nothing to add either
        if (!S_ISDIR(st.st_mode)) {
            const ContainingFolder at =
                S_ISLNK(st.st_mode) ? OpenContainingFolder(item.diskPath) : ContainingFolder{};
            EntryStatus status = EntryStatusAt(at.folder.Get(), at.name.c_str(), st);
            m_figure.checked = ImageEntry{item.imagePath, ImageKindOf(status.mode), status.size};
            if (!Take(m_figure, item.imagePath, status, m_figure.entry))
                m_figure.findings.push_back({ImageFindingKind::Unreadable, item.diskPath, {}});
            if (m_progress != nullptr && S_ISREG(status.mode))
                m_progress->AddFiles(1, status.size);
            return;
        }
        m_figure.entry.kind = LayoutEntry::Kind::Folder;
        m_figure.checked.kind = ImageEntry::Kind::Folder;
        m_figure.folderPath = item.diskPath + "/";
        AddFolder(m_figure.folderPath, item.imagePath, JolietFolderBytes(item.imagePath), nullptr,
                  nullptr);
    }

private:
    // The folder at diskFolder and imageFolder with all beneath it. listing: its listing,
    // read or skipped by readAhead, or null where its parent was known.
    void AddFolder(const std::string& diskFolder, const std::string& imageFolder,
                   int64_t jolietPath, FolderReadAhead* readAhead, FolderListing* listing) {
        if (m_progress != nullptr) {
            m_progress->ThrowIfCancelled();
            m_progress->EnterFolder(diskFolder);
        }
        std::shared_ptr<const FolderImageFigure> figure = m_known.Find(diskFolder, imageFolder);
        std::vector<std::unique_ptr<FolderListing>*> children;
        if (!figure) {
            if (listing == nullptr || listing->skipped) {
                // Read from here down, but for the folders known by then.
                readAhead = &m_readAheads.emplace_back([this](const FolderListing& folder) {
                    return m_known.Find(folder.diskPath, folder.imagePath) != nullptr;
                });
                listing = &readAhead->Add(diskFolder, imageFolder);
                readAhead->Start();
            }
            readAhead->Wait(*listing);
            std::shared_ptr<FolderImageFigure> read = FigureOf(*listing, jolietPath, children);
            m_known.Keep(diskFolder, imageFolder, read);
            figure = std::move(read);
        }
        if (m_progress != nullptr)
            m_progress->AddFiles(figure->files, figure->bytes);
        AddSums(m_figure, *figure);
        // Last name first, as the read-ahead reads them.
        for (size_t k = figure->folders.size(); k-- > 0;) {
            const FolderImageFigure::SubFolder& sub = figure->folders[k];
            FolderListing* subListing = children.empty() ? nullptr : children[k]->get();
            AddFolder(diskFolder + sub.name + "/", imageFolder + "/" + sub.name, sub.jolietPath,
                      subListing != nullptr ? readAhead : nullptr, subListing);
            if (!children.empty())
                children[k]->reset(); // read with all beneath it
        }
    }

    ItemImageFigure& m_figure;
    KnownFolders& m_known;
    WorkProgress* m_progress;
    std::list<FolderReadAhead> m_readAheads; // stable: a listing lives as long as its own
};

} // namespace

std::shared_ptr<const FolderImageFigure> WalkedFolderFigure(const std::string& diskFolder,
                                                            const std::string& imageFolder, int fd,
                                                            std::vector<EntryWithStatus>& entries) {
    FolderListing listing(diskFolder, imageFolder, nullptr);
    if (!ListReadFolder(listing, fd, entries))
        return nullptr;
    std::vector<std::unique_ptr<FolderListing>*> children;
    return FigureOf(listing, JolietFolderBytes(imageFolder), children);
}

std::shared_ptr<const ItemImageFigure> ReadItem(const ImageItem& item, KnownFolders& known,
                                                WorkProgress* progress) {
    auto figure = std::make_shared<ItemImageFigure>();
    ItemReader(*figure, known, progress).Read(item);
    return figure;
}

} // namespace ketrilo
