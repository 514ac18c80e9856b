#include "core/image/ArithmeticDiscImage.h"

#include "core/image/DiscImageChecks.h"
#include "core/image/ImageFigures.h"
#include "core/image/ImageLayout.h"
#include "core/text/Numbers.h"
#include "core/text/Paths.h"

#include <algorithm>
#include <set>

namespace ketrilo {

namespace {

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

// The folders of the items that are folders, sorted: each ends in "/".
std::vector<std::string>
FoldersOf(const std::vector<std::shared_ptr<const ItemImageFigure>>& figures) {
    std::vector<std::string> folders;
    for (const auto& figure : figures) {
        if (!figure->folderPath.empty())
            folders.push_back(figure->folderPath);
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

// Whether path (ending in "/") lies inside one of folders (sorted), or is one when orSame.
bool Inside(const std::vector<std::string>& folders, const std::string& path, bool orSame) {
    // The folder that would hold it, if any, sorts last among those not after it.
    auto after = std::upper_bound(folders.begin(), folders.end(), path);
    for (auto it = folders.begin(); it != after; ++it) {
        if ((orSame || path.size() > it->size()) && path.starts_with(*it))
            return true;
    }
    return false;
}

bool Nested(const std::vector<std::shared_ptr<const ItemImageFigure>>& figures,
            const std::vector<ImageItem>& items) {
    const std::vector<std::string> folders = FoldersOf(figures);
    return std::any_of(items.begin(), items.end(), [&folders](const ImageItem& item) {
        return Inside(folders, item.diskPath + "/", false);
    });
}

} // namespace

// The folders a measure finds kept, and keeps what it reads unless a forgetting came
// between.
class ArithmeticDiscImage::Folders final : public KnownFolders {
public:
    Folders(ArithmeticDiscImage& image, uint64_t forgotten)
        : m_image(image), m_forgotten(forgotten) {}

    std::shared_ptr<const FolderImageFigure> Find(const std::string& diskFolder,
                                                  const std::string& imageFolder) override {
        const std::lock_guard lock(m_image.m_mutex);
        const auto known = m_image.m_folders.find({diskFolder, imageFolder});
        return known != m_image.m_folders.end() ? known->second : nullptr;
    }
    void Keep(const std::string& diskFolder, const std::string& imageFolder,
              std::shared_ptr<const FolderImageFigure> figure) override {
        const std::lock_guard lock(m_image.m_mutex);
        if (m_image.m_forgotten == m_forgotten)
            m_image.m_folders[{diskFolder, imageFolder}] = std::move(figure);
    }

private:
    ArithmeticDiscImage& m_image;
    const uint64_t m_forgotten;
};

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
    Folders folders(*this, forgotten);
    for (size_t i = 0; i < items.size(); ++i) {
        if (figures[i])
            continue;
        figures[i] = ReadItem(items[i], folders, progress);
        const std::lock_guard lock(m_mutex);
        if (m_forgotten == forgotten)
            m_items[{items[i].imagePath, items[i].diskPath}] = figures[i];
    }
    if (progress != nullptr)
        progress->ThrowIfCancelled();
    KeepOnlyFoldersOf(figures);
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
    if (root.unnamed)
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

void ArithmeticDiscImage::KeepOnlyFoldersOf(
    const std::vector<std::shared_ptr<const ItemImageFigure>>& figures) {
    const std::vector<std::string> trees = FoldersOf(figures);
    const std::lock_guard lock(m_mutex);
    std::erase_if(m_folders,
                  [&trees](const auto& known) { return !Inside(trees, known.first.first, true); });
}

void ArithmeticDiscImage::Forget() {
    const std::lock_guard lock(m_mutex);
    m_items.clear();
    m_folders.clear();
    ++m_forgotten;
}

void ArithmeticDiscImage::FolderRead(const std::string& root, const std::string& folder, int fd,
                                     std::vector<EntryWithStatus>& entries) {
    const std::string item = SplitFullPath(root.substr(0, root.size() - 1)).name;
    if (item.empty() || !folder.starts_with(root))
        return;
    const std::string below = folder.substr(root.size());
    const std::string imageFolder =
        below.empty() ? item : item + "/" + below.substr(0, below.size() - 1);
    std::shared_ptr<const FolderImageFigure> figure =
        WalkedFolderFigure(folder, imageFolder, fd, entries);
    if (!figure)
        return; // the measure's own read words it
    const std::lock_guard lock(m_mutex);
    m_folders[{folder, imageFolder}] = std::move(figure);
}

void ArithmeticDiscImage::ForgetEntry(const std::string& diskPath) {
    const SplitPath split = SplitFullPath(diskPath);
    const std::string holder = split.folder; // ends in "/"
    const std::string tree = diskPath + "/";
    const std::lock_guard lock(m_mutex);
    std::erase_if(m_folders, [&](const auto& known) {
        const std::string& folder = known.first.first;
        return folder == holder || folder.starts_with(tree);
    });
    std::erase_if(m_items, [&](const auto& known) {
        const std::string& folder = known.second->folderPath;
        const std::string& item = known.first.second;
        return item == diskPath || item.starts_with(tree) ||
               (!folder.empty() && holder.starts_with(folder));
    });
    ++m_forgotten;
}

} // namespace ketrilo
