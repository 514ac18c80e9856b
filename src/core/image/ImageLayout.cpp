#include "core/image/ImageLayout.h"

#include "core/image/DiscImageChecks.h"
#include "core/image/ImageNames.h"

#include <algorithm>
#include <numeric>
#include <string_view>

namespace ketrilo {

namespace {

constexpr int64_t Sector = ImageSectorBytes;
constexpr int64_t SectionBytes = 0xFFFFF800; // the largest extent of one file record
constexpr int64_t DotRecord = 34;
constexpr int64_t LongestRecord = 254;     // a record's length is one even byte
constexpr int64_t PosixAndTimes = 36 + 26; // PX (Rock Ridge 1.10, no inode) and TF
constexpr int64_t ContinuationEntry = 28;
constexpr int64_t FieldHeader = 5;          // of an NM or SL: signature, length, version, flags
constexpr int64_t RootSharing = 7;          // SP
constexpr int64_t RockRidgeReference = 237; // ER, in the root's continuation area
constexpr int64_t DeviceNumbers = 20;       // PN

int64_t Even(int64_t bytes) {
    return bytes + bytes % 2;
}

int64_t WholeSectors(int64_t bytes) {
    return (bytes + Sector - 1) / Sector;
}

// Calls add with the bytes of each component of a link's target as SL records it: 2 and
// its own ("." and ".." count none, a leading "/" is an empty root component).
template <class Add> void ForEachComponent(const std::string& target, Add add) {
    size_t start = 0;
    while (true) {
        const size_t slash = target.find('/', start);
        const std::string_view component(target.data() + start,
                                         std::min(slash, target.size()) - start);
        add((component == "." || component == ".." ? 0 : static_cast<int64_t>(component.size())) +
            2);
        if (slash == std::string::npos || slash + 1 == target.size())
            return;
        start = slash + 1;
    }
}

// An entry's Rock Ridge fields, wherever they go.
int64_t RockRidgeBytes(const LayoutEntry& entry) {
    int64_t bytes = PosixAndTimes + FieldHeader + static_cast<int64_t>(entry.name.size());
    if (entry.kind == LayoutEntry::Kind::Device)
        bytes += DeviceNumbers;
    if (entry.kind == LayoutEntry::Kind::Link) {
        bytes += FieldHeader;
        ForEachComponent(entry.linkTarget, [&bytes](int64_t component) { bytes += component; });
    }
    return bytes;
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

// Bytes from offset to the start of the next sector; none at one.
int64_t ToNextSector(int64_t offset) {
    return (Sector - offset % Sector) % Sector;
}

// A folder's continuation area as libisofs counts it when it sizes the folder ([RockRidge]):
// the fields of each record that do not fit it, in the order of the records.
class ContinuationArea {
public:
    explicit ContinuationArea(int64_t bytes) : m_bytes(bytes) {}

    // The Rock Ridge fields an entry's record holds when its ISO part is used bytes long;
    // what the record cannot hold goes on here.
    int64_t Add(const LayoutEntry& entry, int64_t used) {
        const int64_t space = LongestRecord - used;
        const int64_t fixed =
            PosixAndTimes + (entry.kind == LayoutEntry::Kind::Device ? DeviceNumbers : 0);
        const int64_t fields = RockRidgeBytes(entry);
        if (fields <= space)
            return Even(fields);
        int64_t record = 0;
        int64_t continued = Continued(entry, space, fixed, false, record);
        if (m_bytes / Sector != (m_bytes + continued + ContinuationEntry - 1) / Sector)
            continued = Continued(entry, space, fixed, true, record);
        m_bytes += continued;
        return Even(record);
    }

    [[nodiscard]] int64_t Sectors() const { return WholeSectors(m_bytes); }

private:
    static constexpr int64_t LongestField = 255;
    // A component of more bytes (with its 2) is split between two SL fields.
    static constexpr int64_t WholeComponent = 250;

    // The bytes an entry's fields add to the area, its record taking a CE and as much of its
    // NM as fits (record: the record's fields); startsSector: the entry starts a sector.
    int64_t Continued(const LayoutEntry& entry, int64_t space, int64_t fixed, bool startsSector,
                      int64_t& record) const {
        int64_t area = 0;
        const auto put = [&](int64_t field) {
            const int64_t at = m_bytes + area;
            if (startsSector && (at + field + ContinuationEntry - 1) / Sector != at / Sector) {
                area += ContinuationEntry;
                area += ToNextSector(m_bytes + area);
            }
            area += field;
        };
        record = fixed + ContinuationEntry;
        const int64_t name = static_cast<int64_t>(entry.name.size());
        if (record + FieldHeader + name <= space) {
            record += FieldHeader + name;
        } else {
            // The NM splits: what fills the record, then the rest in a field of its own.
            put(FieldHeader + name - (space - record - FieldHeader));
            record = space;
        }
        if (entry.kind == LayoutEntry::Kind::Link) {
            // The SL goes whole to the area once a component does not fit the record, split
            // into fields of at most 255 bytes.
            bool continues = area != 0;
            int64_t field = FieldHeader;
            ForEachComponent(entry.linkTarget, [&](int64_t component) {
                if (!continues) {
                    if (record + field + component <= space) {
                        field += component;
                        return;
                    }
                    continues = true;
                }
                if (field + component <= LongestField) {
                    field += component;
                } else if (component <= WholeComponent) {
                    put(field);
                    field = FieldHeader + component;
                } else if (const int64_t fit = LongestField - field - 2;
                           component - WholeComponent <= fit) {
                    put(LongestField);
                    field = FieldHeader + component - fit;
                } else {
                    put(field);
                    put(LongestField);
                    field = FieldHeader + component - WholeComponent + 2;
                }
            });
            if (continues)
                put(field);
            else
                record += field;
        }
        return area + (startsSector ? ToNextSector(m_bytes) : 0);
    }

    int64_t m_bytes;
};

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
    const auto order = [id](const NamedEntry* a, const NamedEntry* b) {
        return a->*id < b->*id;
    };
    if (!std::is_sorted(entries.begin(), entries.end(), order)) // unless some were numbered
        std::sort(entries.begin(), entries.end(), order);
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
    const auto nameOrder = [](const LayoutEntry& a, const LayoutEntry& b) {
        return a.name < b.name;
    };
    // Mostly they come sorted, as the readers give them.
    if (!std::is_sorted(entries.begin(), entries.end(), nameOrder))
        std::sort(byName.begin(), byName.end(), [&entries, &nameOrder](size_t a, size_t b) {
            return nameOrder(entries[a], entries[b]);
        });
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
        if (path > JolietPathBytes) {
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
    // The root's continuation area starts with the reference.
    ContinuationArea continuation(root ? RockRidgeReference : 0);
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
        for (int64_t s = 0; s < Sections(entry); ++s)
            isoExtent.Add(record + continuation.Add(entry, record));
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
    layout.isoSectors = isoExtent.Sectors() + continuation.Sectors();
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
