#include "core/image/ImageLayout.h"

#include "core/image/DiscImageChecks.h"
#include "core/image/ImageNames.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <string_view>

namespace ketrilo {

namespace {

constexpr int64_t Sector = ImageSectorBytes;
constexpr int64_t SectionBytes = 0xFFFFF800; // the largest extent of one file record
constexpr int64_t DotRecord = 34;
constexpr int64_t LongestRecord = 254;     // a record's length is one even byte
constexpr int64_t PosixAndTimes = 36 + 26; // PX (Rock Ridge 1.10, no inode) and TF
constexpr int64_t ContinuationEntry = 28;
constexpr int64_t RootSharing = 7;          // SP
constexpr int64_t RockRidgeReference = 237; // ER, in the root's continuation area
constexpr int64_t DeviceNumbers = 20;       // PN
constexpr int64_t JolietPathLimit = 240;

int64_t Even(int64_t bytes) {
    return bytes + bytes % 2;
}

int64_t WholeSectors(int64_t bytes) {
    return (bytes + Sector - 1) / Sector;
}

// SL of a link's target in one field: 5, and 2 more per component ("." and ".." count no
// bytes of their own, a leading "/" is an empty root component).
int64_t SymbolicLinkBytes(const std::string& target) {
    int64_t bytes = 5;
    size_t start = 0;
    while (true) {
        const size_t slash = target.find('/', start);
        const std::string_view component(target.data() + start,
                                         std::min(slash, target.size()) - start);
        bytes +=
            (component == "." || component == ".." ? 0 : static_cast<int64_t>(component.size())) +
            2;
        if (slash == std::string::npos || slash + 1 == target.size())
            return bytes;
        start = slash + 1;
    }
}

// An entry's Rock Ridge fields, wherever they go.
int64_t RockRidgeBytes(const LayoutEntry& entry) {
    int64_t bytes = PosixAndTimes + 5 + static_cast<int64_t>(entry.name.size());
    if (entry.kind == LayoutEntry::Kind::Device)
        bytes += DeviceNumbers;
    if (entry.kind == LayoutEntry::Kind::Link)
        bytes += SymbolicLinkBytes(entry.linkTarget);
    return bytes;
}

// The Rock Ridge fields of an entry's record whose ISO part is used bytes long; none when
// they exceed the 254-byte record and go on in a continuation area.
std::optional<int64_t> EntrySystemUse(const LayoutEntry& entry, int64_t used) {
    const int64_t bytes = RockRidgeBytes(entry);
    if (bytes > LongestRecord - used)
        return std::nullopt;
    return Even(bytes);
}

// The ISO part of a record and a path-table record, by the identifier's bytes.
int64_t IsoRecordBytes(int64_t identifier, bool folder) {
    return Even(33 + identifier + (folder ? 0 : 2));
}
int64_t IsoPathRecordBytes(int64_t identifier) {
    return Even(8 + identifier);
}

// A Joliet record and path-table record, by the identifier's UCS-2 units.
int64_t JolietRecordBytes(int64_t units) {
    return 34 + 2 * units;
}
int64_t JolietPathRecordBytes(int64_t units) {
    return 8 + 2 * units;
}

bool HasJolietRecord(const LayoutEntry& entry) {
    return entry.kind == LayoutEntry::Kind::Folder || entry.kind == LayoutEntry::Kind::File;
}

// Lays records into an extent that starts with "." and ".." of dots bytes.
class Extent {
public:
    explicit Extent(int64_t dots) : m_bytes(dots) {}
    void Add(int64_t record) {
        const int64_t left = Sector - m_bytes % Sector;
        m_bytes += record > left ? left + record : record;
    }
    [[nodiscard]] int64_t Sectors() const { return WholeSectors(m_bytes); }

private:
    int64_t m_bytes;
};

// A file up to 4 GiB - 1 has one record; beyond, one more per 0xFFFFF800 bytes. libisofs
// refuses a file larger than it writes: such a file counts the largest one's records, not
// one for each 4 GiB of a sparse file that may reach 8 EiB, a layout of minutes.
int64_t Sections(const LayoutEntry& entry) {
    constexpr int64_t OneRecord = 0xFFFFFFFF;
    if (entry.kind != LayoutEntry::Kind::File || entry.size <= OneRecord)
        return 1;
    const int64_t size = std::min(entry.size, LargestImageFile);
    return (size - OneRecord + SectionBytes - 1) / SectionBytes + 1;
}

template <class Text> void SortByName(std::vector<NamedEntry*>& entries, Text NamedEntry::*id) {
    std::sort(entries.begin(), entries.end(),
              [id](const NamedEntry* a, const NamedEntry* b) { return a->*id < b->*id; });
}

} // namespace

FolderLayout LayOutFolder(const std::vector<LayoutEntry>& entries, bool root, int64_t jolietPath) {
    FolderLayout layout;
    layout.jolietPaths.assign(entries.size(), 0);
    std::vector<NamedEntry> names(entries.size());
    std::vector<NamedEntry*> iso;
    std::vector<NamedEntry*> joliet;
    iso.reserve(entries.size());
    // libisofs holds a folder's entries by their names on disk, and numbers alike
    // identifiers in that order.
    std::vector<size_t> byName(entries.size());
    std::iota(byName.begin(), byName.end(), size_t{0});
    std::sort(byName.begin(), byName.end(),
              [&entries](size_t a, size_t b) { return entries[a].name < entries[b].name; });
    for (const size_t i : byName) {
        const LayoutEntry& entry = entries[i];
        const bool folder = entry.kind == LayoutEntry::Kind::Folder;
        names[i].folder = folder;
        names[i].iso = IsoIdentifier(entry.name, folder);
        iso.push_back(&names[i]);
        if (jolietPath == OutOfJoliet || !HasJolietRecord(entry)) {
            layout.jolietPaths[i] = folder ? OutOfJoliet : 0;
            continue;
        }
        names[i].joliet = JolietIdentifier(entry.name, folder);
        const int64_t path = jolietPath + 1 + 2 * static_cast<int64_t>(names[i].joliet.size());
        if (path > JolietPathLimit) {
            layout.jolietPaths[i] = folder ? OutOfJoliet : 0;
            names[i].joliet.clear();
            continue;
        }
        if (folder)
            layout.jolietPaths[i] = path;
        joliet.push_back(&names[i]);
    }
    if (!NumberIsoCollisions(iso) || !NumberJolietCollisions(joliet)) {
        layout.unnamed = true;
        return layout;
    }

    // "." and "..": the root's "." announces Rock Ridge.
    const int64_t dot = Even(PosixAndTimes + (root ? RootSharing + ContinuationEntry : 0));
    Extent isoExtent(2 * DotRecord + dot + Even(PosixAndTimes));
    // The root's continuation area holds the reference alone, unless entries continue.
    int64_t continuedSectors = root ? WholeSectors(RockRidgeReference) : 0;
    Extent jolietExtent(2 * DotRecord);
    // Records lie in the order of their final identifiers: where one starts a new sector
    // depends on those before it.
    SortByName(iso, &NamedEntry::iso);
    SortByName(joliet, &NamedEntry::joliet);
    for (const NamedEntry* name : iso) {
        const LayoutEntry& entry = entries[static_cast<size_t>(name - names.data())];
        const bool folder = entry.kind == LayoutEntry::Kind::Folder;
        const int64_t isoBytes = static_cast<int64_t>(name->iso.size());
        const int64_t record = IsoRecordBytes(isoBytes, folder);
        for (int64_t s = 0; s < Sections(entry); ++s) {
            const std::optional<int64_t> use = EntrySystemUse(entry, record);
            if (!use) {
                layout.continued = true;
                return layout;
            }
            isoExtent.Add(record + *use);
        }
        if (folder)
            layout.isoPathTableBytes += IsoPathRecordBytes(isoBytes);
    }
    for (const NamedEntry* name : joliet) {
        const LayoutEntry& entry = entries[static_cast<size_t>(name - names.data())];
        const int64_t units = static_cast<int64_t>(name->joliet.size());
        for (int64_t s = 0; s < Sections(entry); ++s)
            jolietExtent.Add(JolietRecordBytes(units));
        if (entry.kind == LayoutEntry::Kind::Folder)
            layout.jolietPathTableBytes += JolietPathRecordBytes(units);
    }
    layout.isoSectors = isoExtent.Sectors() + continuedSectors;
    layout.jolietSectors = jolietPath == OutOfJoliet ? 0 : jolietExtent.Sectors();
    return layout;
}

LayoutEntry::Kind LayoutKindOf(mode_t mode) {
    return S_ISDIR(mode)                    ? LayoutEntry::Kind::Folder
           : S_ISREG(mode)                  ? LayoutEntry::Kind::File
           : S_ISLNK(mode)                  ? LayoutEntry::Kind::Link
           : S_ISCHR(mode) || S_ISBLK(mode) ? LayoutEntry::Kind::Device
                                            : LayoutEntry::Kind::Special;
}

int64_t RootEntryBytes(const LayoutEntry& entry) {
    // At the root a Joliet path is never too long: an identifier has at most 65 units.
    const bool folder = entry.kind == LayoutEntry::Kind::Folder;
    const auto iso = static_cast<int64_t>(IsoIdentifier(entry.name, folder).size());
    int64_t bytes = Sections(entry) * (IsoRecordBytes(iso, folder) + Even(RockRidgeBytes(entry)));
    if (!HasJolietRecord(entry))
        return bytes;
    const auto units = static_cast<int64_t>(JolietIdentifier(entry.name, folder).size());
    bytes += Sections(entry) * JolietRecordBytes(units);
    if (folder)
        bytes += 2 * (IsoPathRecordBytes(iso) + JolietPathRecordBytes(units));
    return bytes;
}

int64_t FixedImageSectors(int64_t isoPathTableBytes, int64_t jolietPathTableBytes) {
    constexpr int64_t SystemArea = 16;
    constexpr int64_t Descriptors = 3; // primary, Joliet, terminator
    return SystemArea + Descriptors + 2 * WholeSectors(isoPathTableBytes) +
           2 * WholeSectors(jolietPathTableBytes);
}

int64_t ImageSectors(int64_t recordSectors, int64_t dataSectors) {
    // The file data starts past a zero sector, never before the 33rd sector.
    constexpr int64_t FirstDataSector = 33;
    return std::max(recordSectors + 1, FirstDataSector) + dataSectors;
}

} // namespace ketrilo
