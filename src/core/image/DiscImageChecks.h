#pragma once
// What a burning program would change or refuse in the image it builds from the well,
// decided entry by entry while the image's tree is read.

#include "core/image/DiscImage.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ketrilo {

// One entry of a folder as the image holds it.
struct ImageEntry {
    enum class Kind { Folder, File, Other }; // Other: a link or a special file (no Joliet name)
    std::string name;
    Kind kind = Kind::File;
    int64_t size = 0;
};

inline constexpr int64_t FourGiB = int64_t{1} << 32;
// A plain ISO 9660 reader sees at most eight folder levels (the root is the first) and
// paths of at most this many bytes.
inline constexpr int IsoFolderLevels = 8;
inline constexpr size_t IsoPathBytes = 255;
// libisofs leaves out of the Joliet tree an entry whose Joliet path, counted as 1 + for each
// level 1 + 2 bytes per UCS-2 unit of its Joliet name, exceeds this.
inline constexpr int JolietPathBytes = 240;
// The largest file libisofs writes: 100 sections of 0xFFFFF800 bytes.
inline constexpr int64_t LargestImageFile = int64_t{100} * 0xFFFFF800;

// The Joliet path bytes of a folder at imageFolder ("" for the root, otherwise "a/b"), as
// its entries' Joliet paths are counted from; -1 when it is out of the Joliet tree.
[[nodiscard]] int64_t JolietFolderBytes(std::string_view imageFolder);

class DiscImageChecks {
public:
    // The well items themselves, in well order: a later item whose image path an earlier
    // one already takes collides at the image's root.
    void CheckItems(const std::vector<ImageItem>& items, const std::vector<ImageEntry>& entries);

    // The entries of one folder. imageFolder: the folder's path in the image ("" for the
    // root, otherwise "a/b"); diskFolder: its path on disk, ending in "/".
    void CheckFolder(const std::string& imageFolder, const std::string& diskFolder,
                     const std::vector<ImageEntry>& entries);

    // An entry the image's library refuses, with what the library says.
    void Refused(const std::string& diskPath, const std::string& detail);
    // A file, or a folder, this user may not read (or enter).
    void Unreadable(const std::string& diskPath) { Add(ImageFindingKind::Unreadable, diskPath); }

    // Findings made elsewhere, of entries not seen here.
    void Adopt(const std::vector<ImageFinding>& findings) {
        m_findings.insert(m_findings.end(), findings.begin(), findings.end());
    }

    // The findings ordered by path, then kind.
    [[nodiscard]] std::vector<ImageFinding> TakeFindings();

private:
    // Where an entry lies in the image.
    struct EntryPlace {
        size_t imagePathBytes;
        int levels;           // its image path's: 1 for an entry of the root
        int64_t jolietParent; // its folder's Joliet path bytes; -1: out of the Joliet tree
        bool parentSeen;      // its folder already was too deep or too long: only that one is
                              // reported
    };
    // diskPath() names the entry on disk, made only for a finding.
    template <class DiskPath>
    void CheckEntry(const ImageEntry& entry, const EntryPlace& place, const DiskPath& diskPath);
    void Add(ImageFindingKind kind, const std::string& diskPath);

    std::vector<ImageFinding> m_findings;
};

} // namespace ketrilo
