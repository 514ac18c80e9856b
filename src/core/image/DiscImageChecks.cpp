#include "core/image/DiscImageChecks.h"

#include "core/image/ImageNames.h"
#include "core/text/NameRules.h"
#include "core/text/Utf8.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace ketrilo {

namespace {

bool HasJolietForbiddenCharacter(std::string_view name) {
    // Every byte of a multi-byte UTF-8 character is 0x80 or more, so bytes can be tested alone.
    return std::any_of(name.begin(), name.end(),
                       [](char c) { return IsJolietForbidden(static_cast<unsigned char>(c)); });
}

int FolderLevelsOf(std::string_view imagePath) {
    return imagePath.empty()
               ? 0
               : static_cast<int>(std::count(imagePath.begin(), imagePath.end(), '/')) + 1;
}

// Too deep: the entry, levels deep below the root, lies in a folder beyond the eighth
// level, or is such a folder.
bool IsTooDeep(ImageEntry::Kind kind, int levels) {
    return kind == ImageEntry::Kind::Folder ? levels + 1 > IsoFolderLevels
                                            : levels > IsoFolderLevels;
}

bool IsTooLong(size_t imagePathBytes) {
    return imagePathBytes > IsoPathBytes;
}

// The Joliet path bytes of an entry called name in a folder of parent bytes, counted with
// the Joliet name libisofs gives it before alike names are numbered.
int64_t JolietPathBytesOf(int64_t parent, std::string_view name, bool folder) {
    return parent + 1 + 2 * static_cast<int64_t>(JolietIdentifier(name, folder).size());
}

// Whether an entry called name in a folder of parent bytes is out of the Joliet tree. A
// Joliet name has at most one unit per byte: most names need no counting.
bool OverJolietPath(int64_t parent, std::string_view name, bool folder) {
    return parent + 1 + 2 * static_cast<int64_t>(name.size()) > JolietPathBytes &&
           JolietPathBytesOf(parent, name, folder) > JolietPathBytes;
}

} // namespace

int64_t JolietFolderBytes(std::string_view imageFolder) {
    int64_t bytes = 1; // the root
    for (size_t start = 0; !imageFolder.empty() && start <= imageFolder.size();) {
        const size_t end = std::min(imageFolder.find('/', start), imageFolder.size());
        bytes = JolietPathBytesOf(bytes, imageFolder.substr(start, end - start), true);
        if (bytes > JolietPathBytes)
            return -1;
        start = end + 1;
    }
    return bytes;
}

void DiscImageChecks::CheckItems(const std::vector<ImageItem>& items,
                                 const std::vector<ImageEntry>& entries) {
    std::unordered_set<std::string_view> taken;
    for (size_t i = 0; i < items.size() && i < entries.size(); ++i) {
        if (!taken.insert(items[i].imagePath).second)
            Add(ImageFindingKind::RootNameCollision, items[i].diskPath);
        const size_t slash = items[i].imagePath.rfind('/');
        const int64_t jolietParent = JolietFolderBytes(
            slash == std::string::npos ? std::string_view()
                                       : std::string_view(items[i].imagePath).substr(0, slash));
        const EntryPlace place{items[i].imagePath.size(), FolderLevelsOf(items[i].imagePath),
                               jolietParent, false};
        CheckEntry(entries[i], place, [&] { return items[i].diskPath; });
    }
}

void DiscImageChecks::CheckFolder(const std::string& imageFolder, const std::string& diskFolder,
                                  const std::vector<ImageEntry>& entries) {
    const int levels = FolderLevelsOf(imageFolder);
    const bool parentSeen =
        IsTooDeep(ImageEntry::Kind::Folder, levels) || IsTooLong(imageFolder.size());
    const int64_t jolietParent = JolietFolderBytes(imageFolder);
    // Only names of 64 units or more can meet another name once cut to 64.
    std::unordered_map<std::string_view, std::vector<size_t>> byCutName;
    for (size_t i = 0; i < entries.size(); ++i) {
        const ImageEntry& entry = entries[i];
        const size_t pathBytes =
            (imageFolder.empty() ? 0 : imageFolder.size() + 1) + entry.name.size();
        CheckEntry(entry, EntryPlace{pathBytes, levels + 1, jolietParent, parentSeen},
                   [&] { return diskFolder + entry.name; });
        if (entry.kind != ImageEntry::Kind::Other && entry.name.size() >= NameLengthLimit &&
            NameLength(entry.name) >= NameLengthLimit)
            byCutName[CutToUnits(entry.name, NameLengthLimit)].push_back(i);
    }
    std::vector<size_t> colliding;
    for (const auto& [cut, members] : byCutName) {
        if (members.size() > 1)
            colliding.insert(colliding.end(), members.begin(), members.end());
    }
    std::sort(colliding.begin(), colliding.end());
    for (size_t i : colliding)
        Add(ImageFindingKind::JolietNameCollision, diskFolder + entries[i].name);
}

template <class DiskPath>
void DiscImageChecks::CheckEntry(const ImageEntry& entry, const EntryPlace& place,
                                 const DiskPath& diskPath) {
    if (!IsValidUtf8(entry.name))
        Add(ImageFindingKind::NameNotUtf8, diskPath());
    if (entry.kind != ImageEntry::Kind::Other) {
        if (IsLongName(entry.name))
            Add(ImageFindingKind::JolietNameTooLong, diskPath());
        if (HasJolietForbiddenCharacter(entry.name))
            Add(ImageFindingKind::JolietCharacter, diskPath());
        // Only the first entry out of the Joliet tree is named: what lies below goes with it.
        if (place.jolietParent >= 0 &&
            OverJolietPath(place.jolietParent, entry.name, entry.kind == ImageEntry::Kind::Folder))
            Add(ImageFindingKind::JolietPathTooLong, diskPath());
    }
    if (entry.kind == ImageEntry::Kind::File && entry.size > LargestImageFile)
        Add(ImageFindingKind::FileTooLarge, diskPath());
    else if (entry.kind == ImageEntry::Kind::File && entry.size >= FourGiB)
        Add(ImageFindingKind::FileOver4GiB, diskPath());
    if (place.parentSeen)
        return;
    if (IsTooDeep(entry.kind, place.levels))
        Add(ImageFindingKind::PathTooDeep, diskPath());
    if (IsTooLong(place.imagePathBytes))
        Add(ImageFindingKind::PathTooLong, diskPath());
}

std::vector<ImageFinding> DiscImageChecks::TakeFindings() {
    std::sort(m_findings.begin(), m_findings.end(),
              [](const ImageFinding& a, const ImageFinding& b) {
                  return a.path != b.path ? a.path < b.path : a.kind < b.kind;
              });
    return std::move(m_findings);
}

void DiscImageChecks::Refused(const std::string& diskPath, const std::string& detail) {
    m_findings.push_back(ImageFinding{ImageFindingKind::Refused, diskPath, detail});
}

void DiscImageChecks::Add(ImageFindingKind kind, const std::string& diskPath) {
    m_findings.push_back(ImageFinding{kind, diskPath, {}});
}

} // namespace ketrilo
