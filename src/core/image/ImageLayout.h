#pragma once
// The sectors one folder's records take in the image, as libisofs lays them out with the
// burner's options (Rock Ridge 1.10, Joliet, ISO 9660 level 3, version numbers on ISO
// file names only, no padding). The rules, each pinned by a case of ImageLayoutTest or
// ImageArithmeticTest:
// - A folder's extent in each tree holds "." and ".." (34 bytes each) and one record per
//   entry, in the order of the final identifiers; a file over 4 GiB - 1 one more per
//   0xFFFFF800 bytes beyond that. A record never crosses a sector, and the extent is
//   whole sectors.                    [RecordsPack]
// - ISO 9660 record: 33 + identifier + ";1" for all but folders, even. Identifier:
//   the name as ASCII (one "_" per other character or stray byte), upper-cased,
//   d-characters only, cut to 30 besides the dot before its extension (kept at least 3
//   long), a folder's too; a file's always has that dot.                   [IsoNames]
// - Joliet record: 34 + 2 per UCS-2 unit, no version. Identifier: at most 64 units, a
//   file's extension kept (65 with it); links and special files have none. [JolietNames]
// - Alike identifiers in one folder are numbered ("NAME0.TXT"), cut to make room.
//                                                                          [Collisions]
// - Rock Ridge adds to each ISO record PX (36) and TF (26), NM (5 + name bytes), SL for a
//   link (5 + 2 + component bytes per component), PN (20) for a device. Fields beyond the
//   254-byte record go on in the folder's continuation area, whole sectors after its
//   extent: the record holds a CE (28) and as much of the NM as fills it, the NM's rest
//   is a field of its own; an SL that does not fit goes whole, in fields of at most 255
//   bytes (a component over 248 bytes split across two). Entries follow one another in
//   the area in the order of their records; one whose fields and a CE more do not fit the
//   rest of the sector it would start in starts the next, and is counted as libisofs
//   counts it: from where the last one ended, each field that would cross a sector from
//   there after a CE and the rest of that sector, then what leads to the next sector
//   once more (so that a later sector may hold one fewer). The root's "." adds SP (7)
//   and CE (28), its area starts with ER (237); "." and ".." elsewhere carry PX and TF.
//   [RockRidge: ArithmeticImage.CountsContinuationAreasAsLibisofsDoes]
// - An entry whose Joliet path (1 + per level 1 + 2 per unit of its uncut name) exceeds
//   240 bytes is left out of the Joliet tree, with all beneath it.  [JolietPathLimit]
// - Path tables: per folder 8 + identifier bytes (ISO, even) or 8 + 2 per unit (Joliet);
//   the root's 10; each table twice (both byte orders), whole sectors. [PathTables]
// - The image: 16 system sectors, the primary and Joliet descriptors and the terminator,
//   the ISO folders, ISO path tables, Joliet folders, Joliet path tables, a zero sector,
//   then from the 33rd sector on each file's data once (hard links and a file met twice
//   share it), whole sectors.                                               [Totals]

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <vector>

namespace ketrilo {

inline constexpr int64_t ImageSectorBytes = 2048;

// One entry of a folder as the image records it.
struct LayoutEntry {
    enum class Kind { Folder, File, Link, Device, Special };
    std::string name;
    Kind kind = Kind::File;
    int64_t size = 0;       // a file's bytes
    std::string linkTarget; // a link's
};

// The kind the image records for an entry of this stat mode.
[[nodiscard]] LayoutEntry::Kind LayoutKindOf(mode_t mode);

// The Joliet path bytes of the root, from which its entries' paths are counted.
inline constexpr int64_t JolietRootPath = 1;
// A folder left out of the Joliet tree.
inline constexpr int64_t OutOfJoliet = -1;

struct FolderLayout {
    int64_t isoSectors = 0;    // its ISO 9660 extent and Rock Ridge continuation area
    int64_t jolietSectors = 0; // its Joliet extent; 0 when it is out of the Joliet tree
    // The path-table records of its sub-folders in each tree.
    int64_t isoPathTableBytes = 0;
    int64_t jolietPathTableBytes = 0;
    // For each entry: a sub-folder's Joliet path bytes, or OutOfJoliet; 0 for the others.
    std::vector<int64_t> jolietPaths;
    bool unnamed = false; // libisofs cannot number its names apart: it makes no image
};

// entries: the folder's, once each; jolietPath: the folder's own Joliet path bytes
// (JolietRootPath for the root) or OutOfJoliet.
[[nodiscard]] FolderLayout LayOutFolder(const std::vector<LayoutEntry>& entries, bool root,
                                        int64_t jolietPath);

// The bytes entry adds at the root of an image, as LayOutFolder counts them before they
// are packed into sectors: its ISO 9660 record with its Rock Ridge fields and its Joliet
// record (a file over 4 GiB - 1 one more each per extent), and a folder's records in both
// path tables, each table written twice. Fields that would go on in the continuation area
// count as if the record held them: only libisofs lays that area out.
[[nodiscard]] int64_t RootEntryBytes(const LayoutEntry& entry);

// Sectors of the image besides its folders and data: system area, descriptors and the
// four path tables, given all folders' path-table records (the root's included here).
[[nodiscard]] int64_t FixedImageSectors(int64_t isoPathTableBytes, int64_t jolietPathTableBytes);

// The whole image: its records (folders and FixedImageSectors), then its file data.
[[nodiscard]] int64_t ImageSectors(int64_t recordSectors, int64_t dataSectors);

} // namespace ketrilo
