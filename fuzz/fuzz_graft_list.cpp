// A disc's graft-point list over any names, read back as xorriso reads "-path-list": one
// graft point a line, "\" making the next character plain, the first plain "=" parting the
// image path from the disk path, a trailing "/" naming the same folder. Every item comes
// back as its pair, in order; a name with a line break is refused and nothing is listed.
// Input: items split at NUL bytes, each a flag byte (bit 0: a folder) then the image path
// and the disk path split at the first byte 0x01.
#include "FuzzInput.h"
#include "cli/GraftList.h"
#include "core/base/KetriloError.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct GraftLine {
    std::string image;
    std::string disk;
};

// One line as xorriso's graft-point reader sees it.
GraftLine ReadLine(std::string_view line) {
    GraftLine parsed;
    std::string* side = &parsed.image;
    bool parted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            *side += line[++i];
        } else if (line[i] == '=' && !parted) {
            parted = true;
            side = &parsed.disk;
        } else {
            *side += line[i];
        }
    }
    FUZZ_CHECK(parted);
    return parsed;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text = ketrilo::fuzz::AsText(data, size);
    ketrilo::PlannedDisc disc;
    bool lineBreak = false;
    while (!text.empty()) {
        const std::string_view part = ketrilo::fuzz::NextPart(text);
        if (part.empty())
            continue;
        ketrilo::PlannedItem item;
        item.isFolder = (part[0] & 1) != 0;
        const std::string_view paths = part.substr(1);
        const size_t split = paths.find('\x01');
        item.imagePath = std::string(paths.substr(0, split));
        item.diskPath = split == std::string_view::npos ? "" : std::string(paths.substr(split + 1));
        // An image path, as the plan makes them, is a name: never empty, never a "/" in it.
        if (item.imagePath.empty() || item.imagePath.find('/') != std::string::npos)
            continue;
        lineBreak = lineBreak ||
                    (item.imagePath + item.diskPath).find_first_of("\n\r") != std::string::npos;
        disc.items.push_back(std::move(item));
    }

    std::string list;
    try {
        list = ketrilo::GraftList(disc);
    } catch (const ketrilo::KetriloError&) {
        FUZZ_CHECK(lineBreak);
        return 0;
    }
    FUZZ_CHECK(!lineBreak);
    std::string_view rest = list;
    for (const ketrilo::PlannedItem& item : disc.items) {
        const size_t end = rest.find('\n');
        FUZZ_CHECK(end != std::string_view::npos);
        GraftLine parsed = ReadLine(rest.substr(0, end));
        rest.remove_prefix(end + 1);
        if (item.isFolder && parsed.image.ends_with('/'))
            parsed.image.pop_back();
        FUZZ_CHECK(parsed.image == item.imagePath);
        FUZZ_CHECK(parsed.disk == item.diskPath);
    }
    FUZZ_CHECK(rest.empty());
    return 0;
}
