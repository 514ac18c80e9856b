#include "core/image/DiscImageEstimate.h"

#include "core/text/NameRules.h"
#include "core/text/Numbers.h"

#include <algorithm>

namespace ketrilo {

namespace {

constexpr int64_t RecordHeaderBytes = 33;
// Rock Ridge fields of every record: PX (44), TF with three times (26), NM header (5).
constexpr int64_t RockRidgeBytes = 44 + 26 + 5;
// "." and ".." of a folder: ISO records with Rock Ridge fields, Joliet records.
constexpr int64_t DotRecordsBytes = 2 * (34 + 44 + 26) + 2 * 34;
constexpr int64_t IsoNameLimit = 31;
constexpr int64_t JolietNameLimit = 64;
// What a record of at most 255 bytes keeps for a link's target besides its name and fields.
constexpr int64_t RecordRoomBytes = 120;
constexpr int64_t ExtentLimit = (int64_t{1} << 32) - ImageSectorBytes;

int64_t Even(int64_t bytes) {
    return bytes + (bytes & 1);
}

} // namespace

int64_t EntryRecordBytes(const std::string& name, bool isFolder, int64_t size) {
    const auto bytes = static_cast<int64_t>(name.size());
    const int64_t units = std::min<int64_t>(NameLength(name), JolietNameLimit);
    const int64_t version = isFolder ? 0 : 2; // ";1"
    const int64_t iso =
        Even(RecordHeaderBytes + std::min(bytes, IsoNameLimit) + version) + RockRidgeBytes + bytes;
    const int64_t joliet = Even(RecordHeaderBytes + 2 * (units + version));
    if (isFolder) {
        // One entry in each of the four path tables.
        const int64_t tables = 2 * Even(8 + std::min(bytes, IsoNameLimit)) + 2 * (8 + 2 * units);
        return iso + joliet + tables;
    }
    // Counted without adding to size first: a sparse file may be as large as a size can be.
    const int64_t extents = size > 0 ? size / ExtentLimit + (size % ExtentLimit != 0) : 1;
    return extents * iso + joliet;
}

int64_t LinkTargetBytes(int64_t targetBytes) {
    // A component entry per name (of at most 255 bytes) in SL fields of at most 250.
    const int64_t fields = targetBytes + 5 * (targetBytes / 250 + 1) + 2 * (targetBytes / 255 + 1);
    if (fields <= RecordRoomBytes)
        return fields;
    // Past the record's room its Rock Ridge fields go on in a continuation area, whose
    // entries do not cross a sector: a sector takes as many whole ones as fit.
    const int64_t continued = fields + RockRidgeBytes;
    return ImageSectorBytes / std::max<int64_t>(1, ImageSectorBytes / continued);
}

int64_t FolderExtentBytes(int64_t entryRecordBytes) {
    // The records share two trees; each tree's extent is whole sectors.
    const int64_t perTree = (DotRecordsBytes + entryRecordBytes) / 2;
    return 2 * ClustersFor(ImageSectorBytes, perTree) * ImageSectorBytes;
}

} // namespace ketrilo
