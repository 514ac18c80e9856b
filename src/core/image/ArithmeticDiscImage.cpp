#include "core/image/ArithmeticDiscImage.h"

#include "core/disk/OpenByPath.h"
#include "core/image/DiscImageChecks.h"
#include "core/image/FolderReadAhead.h"
#include "core/image/ImageLayout.h"
#include "core/text/Numbers.h"

#include <algorithm>
#include <set>

namespace ketrilo {

namespace {

constexpr size_t LongestName = 255;        // what libisofs takes for a name or link component
constexpr size_t LongestLinkTarget = 1024; // and for a link's whole target

using FileKey = std::pair<dev_t, ino_t>;

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

} // namespace

// What one well item brings to the image besides its own record in the root.
struct ItemImageFigure {
    bool found = false;
    LayoutEntry entry;         // its record in the root
    ImageEntry checked;        // as the root's checks see it
    bool needsLibrary = false; // the arithmetic cannot stand for the library here
    int64_t folderSectors = 0; // the extents of the folders in its tree, both trees
    int64_t isoPathTableBytes = 0;
    int64_t jolietPathTableBytes = 0;
    int64_t dataSectors = 0;                         // of files of one name
    std::vector<std::pair<FileKey, int64_t>> linked; // files of several names, with their sectors
    std::vector<ImageFinding> findings;
    std::string folderPath; // a folder's disk path with "/", to see items inside it
};

namespace {

class ItemReader {
public:
    ItemReader(ItemImageFigure& figure, WorkProgress* progress)
        : m_figure(figure), m_progress(progress) {}

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
            const EntryStatus status = EntryStatusAt(at.folder.Get(), at.name.c_str(), st);
            Take(item.imagePath, status, item.diskPath, m_figure.entry);
            m_figure.checked = ImageEntry{item.imagePath, ImageKindOf(status.mode), status.size};
            if (m_progress != nullptr && S_ISREG(status.mode))
                m_progress->AddFiles(1, status.size);
            return;
        }
        m_figure.entry.kind = LayoutEntry::Kind::Folder;
        m_figure.checked.kind = ImageEntry::Kind::Folder;
        m_figure.folderPath = item.diskPath + "/";
        FolderListing& listing = m_readAhead.Add(m_figure.folderPath, item.imagePath);
        m_readAhead.Start();
        AddFolder(listing, ItemJolietPath(item.imagePath));
    }

    std::vector<ImageFinding> TakeFindings() { return m_checks.TakeFindings(); }

private:
    // Its Joliet path: an entry of the root's (never out of the tree there).
    static int64_t ItemJolietPath(const std::string& name) {
        const FolderLayout root = LayOutFolder(
            {LayoutEntry{name, LayoutEntry::Kind::Folder, 0, {}}}, true, JolietRootPath);
        return root.jolietPaths.front();
    }

    // The entry's record in its folder, its file data, and whether the library must judge it.
    void Take(const std::string& name, const EntryStatus& status, const std::string& diskPath,
              LayoutEntry& entry) {
        entry.kind = LayoutKindOf(status.mode);
        entry.size = S_ISREG(status.mode) ? status.size : 0;
        entry.linkTarget = status.linkTarget;
        m_figure.needsLibrary = m_figure.needsLibrary || NeedsLibrary(name, status);
        if (!status.readable)
            m_checks.Unreadable(diskPath);
        if (!S_ISREG(status.mode))
            return;
        const int64_t sectors = ClustersFor(2048, status.size);
        if (status.links > 1)
            m_figure.linked.emplace_back(FileKey{status.dev, status.ino}, sectors);
        else
            m_figure.dataSectors = SaturatingAdd(m_figure.dataSectors, sectors);
    }

    void AddFolder(FolderListing& listing, int64_t jolietPath) {
        if (m_progress != nullptr) {
            m_progress->ThrowIfCancelled();
            m_progress->EnterFolder(listing.diskPath);
        }
        m_readAhead.Wait(listing);
        std::vector<LayoutEntry> entries;
        if (!listing.readable) {
            if (listing.denied)
                m_checks.Unreadable(listing.diskPath.substr(0, listing.diskPath.size() - 1));
        } else {
            m_checks.CheckFolder(listing.imagePath, listing.diskPath, listing.entries);
            if (m_progress != nullptr)
                m_progress->AddFiles(listing.files, listing.bytes);
            entries.resize(listing.entries.size());
            for (size_t i = 0; i < entries.size(); ++i) {
                entries[i].name = listing.entries[i].name;
                Take(entries[i].name, listing.details[i].status, listing.diskPath + entries[i].name,
                     entries[i]);
            }
        }
        const FolderLayout layout = LayOutFolder(entries, false, jolietPath);
        m_figure.needsLibrary = m_figure.needsLibrary || layout.unnamed || layout.continued;
        m_figure.folderSectors += layout.isoSectors + layout.jolietSectors;
        m_figure.isoPathTableBytes += layout.isoPathTableBytes;
        m_figure.jolietPathTableBytes += layout.jolietPathTableBytes;
        for (size_t i = 0; i < entries.size(); ++i) {
            FolderListing::Detail& detail = listing.details[i];
            if (entries[i].kind == LayoutEntry::Kind::Folder && detail.folder) {
                AddFolder(*detail.folder, layout.jolietPaths[i]);
                detail.folder.reset(); // read with all beneath it
            }
        }
    }

    ItemImageFigure& m_figure;
    WorkProgress* m_progress;
    FolderReadAhead m_readAhead;
    DiscImageChecks m_checks;
};

std::shared_ptr<const ItemImageFigure> ReadItem(const ImageItem& item, WorkProgress* progress) {
    auto figure = std::make_shared<ItemImageFigure>();
    ItemReader reader(*figure, progress);
    reader.Read(item);
    figure->findings = reader.TakeFindings();
    return figure;
}

// Whether the arithmetic stands for the library on these items: each at the root under a
// name of its own, none inside another.
bool ArithmeticReaches(const std::vector<ImageItem>& items) {
    std::set<std::string> names;
    for (const ImageItem& item : items) {
        if (item.imagePath.empty() || item.imagePath.find('/') != std::string::npos ||
            !names.insert(item.imagePath).second)
            return false;
    }
    return true;
}

bool Nested(const std::vector<std::shared_ptr<const ItemImageFigure>>& figures,
            const std::vector<ImageItem>& items) {
    std::vector<std::string> folders;
    for (const auto& figure : figures) {
        if (!figure->folderPath.empty())
            folders.push_back(figure->folderPath);
    }
    std::sort(folders.begin(), folders.end());
    for (const ImageItem& item : items) {
        // The folder that would hold it, if any, sorts last among those not after it.
        const std::string path = item.diskPath + "/";
        auto after = std::upper_bound(folders.begin(), folders.end(), path);
        for (auto it = folders.begin(); it != after; ++it) {
            if (path.size() > it->size() && path.starts_with(*it))
                return true;
        }
    }
    return false;
}

} // namespace

ArithmeticDiscImage::ArithmeticDiscImage(std::shared_ptr<DiscImage> library)
    : m_library(std::move(library)) {}

ArithmeticDiscImage::~ArithmeticDiscImage() = default;

ImageReport ArithmeticDiscImage::Measure(const std::vector<ImageItem>& items,
                                         WorkProgress* progress) {
    if (!ArithmeticReaches(items))
        return m_library->Measure(items, progress);
    std::vector<std::shared_ptr<const ItemImageFigure>> figures(items.size());
    uint64_t forgotten = 0;
    {
        const std::lock_guard lock(m_mutex);
        forgotten = m_forgotten;
        for (size_t i = 0; i < items.size(); ++i) {
            const auto known = m_items.find({items[i].imagePath, items[i].diskPath});
            if (known != m_items.end())
                figures[i] = known->second;
        }
    }
    for (size_t i = 0; i < items.size(); ++i) {
        if (figures[i])
            continue;
        figures[i] = ReadItem(items[i], progress);
        const std::lock_guard lock(m_mutex);
        if (m_forgotten == forgotten)
            m_items[{items[i].imagePath, items[i].diskPath}] = figures[i];
    }
    if (progress != nullptr)
        progress->ThrowIfCancelled();
    const bool library = std::any_of(figures.begin(), figures.end(),
                                     [](const auto& figure) { return figure->needsLibrary; });
    if (library || Nested(figures, items))
        return m_library->Measure(items, progress);

    DiscImageChecks checks;
    std::vector<ImageEntry> checked;
    std::vector<LayoutEntry> rootEntries;
    int64_t sectors = 0;
    int64_t isoPathTable = 10; // the root's own records
    int64_t jolietPathTable = 10;
    int64_t data = 0;
    std::set<FileKey> linked;
    for (const auto& figure : figures) {
        checked.push_back(figure->checked);
        checks.Adopt(figure->findings);
        if (!figure->found)
            continue;
        rootEntries.push_back(figure->entry);
        sectors += figure->folderSectors;
        isoPathTable += figure->isoPathTableBytes;
        jolietPathTable += figure->jolietPathTableBytes;
        data = SaturatingAdd(data, figure->dataSectors);
        for (const auto& [key, fileSectors] : figure->linked) {
            if (linked.insert(key).second)
                data = SaturatingAdd(data, fileSectors);
        }
    }
    checks.CheckItems(items, checked);
    const FolderLayout root = LayOutFolder(rootEntries, true, JolietRootPath);
    if (root.unnamed || root.continued)
        return m_library->Measure(items, progress);
    ImageReport report;
    report.findings = checks.TakeFindings();
    // As the library reports it: data alone beyond what an image can number stands alone.
    report.sectors =
        data > MaxImageSectors
            ? data
            : ImageSectors(sectors + root.isoSectors + root.jolietSectors +
                               FixedImageSectors(isoPathTable + root.isoPathTableBytes,
                                                 jolietPathTable + root.jolietPathTableBytes),
                           data);
    return report;
}

std::string Disagreement(const std::vector<ImageItem>& items, int64_t measured, int64_t judged) {
    if (measured == judged)
        return {};
    return "the image of " + std::to_string(items.size()) + " items is " +
           std::to_string(measured) + " sectors by the records and " + std::to_string(judged) +
           " by libisofs";
}

void ArithmeticDiscImage::Forget() {
    const std::lock_guard lock(m_mutex);
    m_items.clear();
    ++m_forgotten;
}

} // namespace ketrilo
