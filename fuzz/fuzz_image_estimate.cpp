// The image's per-entry estimate and the burner's checks over one folder of any names,
// kinds and sizes. Input: the folder's image path, then entries split at NUL bytes, each
// a kind byte and a name; the first eight bytes also seed the files' sizes.
#include "FuzzInput.h"
#include "core/image/DiscImageChecks.h"
#include "core/image/DiscImageEstimate.h"
#include "core/text/NameRules.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr int64_t ExtentBytes = (int64_t{1} << 32) - ketrilo::ImageSectorBytes;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text = ketrilo::fuzz::AsText(data, size);
    const auto seed = static_cast<uint64_t>(ketrilo::fuzz::FirstInt64(data, size));
    const std::string imageFolder(ketrilo::fuzz::NextPart(text));
    std::vector<ketrilo::ImageEntry> entries;
    int64_t records = 0;
    size_t longNames = 0;
    while (!text.empty()) {
        const std::string_view part = ketrilo::fuzz::NextPart(text);
        if (part.empty())
            continue;
        ketrilo::ImageEntry entry;
        entry.kind = static_cast<ketrilo::ImageEntry::Kind>(static_cast<uint8_t>(part[0]) % 3);
        entry.name = std::string(part.substr(1));
        const bool isFolder = entry.kind == ketrilo::ImageEntry::Kind::Folder;
        if (entry.kind == ketrilo::ImageEntry::Kind::File)
            entry.size = static_cast<int64_t>((seed >> (entries.size() % 64)) &
                                              std::numeric_limits<int64_t>::max());
        const int64_t bytes = ketrilo::EntryRecordBytes(entry.name, isFolder, entry.size);
        FUZZ_CHECK(bytes > 0);
        if (!isFolder) {
            const int64_t oneExtent = ketrilo::EntryRecordBytes(entry.name, false, 0);
            FUZZ_CHECK(bytes >= oneExtent);
            FUZZ_CHECK((entry.size <= ExtentBytes) == (bytes == oneExtent));
        }
        records += bytes;
        if (entry.kind != ketrilo::ImageEntry::Kind::Other && ketrilo::IsLongName(entry.name))
            ++longNames;
        entries.push_back(std::move(entry));
    }
    const int64_t extent = ketrilo::FolderExtentBytes(records);
    FUZZ_CHECK(extent >= 2 * ketrilo::ImageSectorBytes && extent % ketrilo::ImageSectorBytes == 0);
    FUZZ_CHECK(extent >= records);
    FUZZ_CHECK(ketrilo::FolderExtentBytes(0) <= extent);

    ketrilo::DiscImageChecks checks;
    checks.CheckFolder(imageFolder, "/d/", entries);
    size_t tooLong = 0;
    for (const ketrilo::ImageFinding& finding : checks.TakeFindings()) {
        FUZZ_CHECK(finding.path.starts_with("/d/"));
        tooLong += finding.kind == ketrilo::ImageFindingKind::JolietNameTooLong;
    }
    FUZZ_CHECK(tooLong == longNames);
    return 0;
}
