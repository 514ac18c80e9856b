// The plan over a small tree made on disk from the input: names with every awkward
// character, links, hard links, empty folders, a few levels, sizes about sector edges,
// planned at a small capacity with the tests' model image. Every file is on exactly one
// disc or reported too large, each disc measures within capacity, and no two items of
// one name share a disc. A file is reported too large only when alone it is.
#include "../tests/core/FilesUnder.h"
#include "../tests/core/ModelImage.h"
#include "../tests/core/TempTree.h"
#include "FuzzInput.h"
#include "core/base/KetriloError.h"
#include "core/plan/SpanningPlan.h"

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int64_t Sector = 2048;
constexpr size_t MaxEntries = 24;
constexpr size_t MaxDepth = 5;
const char* const Pieces[] = {"a",        "=",    "\\", " ", "\t", "\n",
                              "\xc3\xa9", "\xff", "-",  ".", "*",  "b"};
constexpr int64_t SizeOffsets[] = {0, 1, -1};

std::string NameFrom(ketrilo::fuzz::Bytes& in) {
    std::string name;
    for (uint32_t n = 1 + in.Next() % 4; n > 0; --n)
        name += Pieces[in.Next() % std::size(Pieces)];
    return name == "." || name == ".." ? name + "a" : name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ketrilo::fuzz::Bytes in(data, size);
    const int64_t capacity = ketrilo::test::ModelImage::Fixed + 12 + in.Next() % 120;
    ketrilo::test::TempTree tree;
    std::vector<std::string> folder{""}; // relative paths, "" the root
    std::vector<std::string> files;
    std::vector<std::string> well;
    for (size_t e = 0; e < MaxEntries && e < size / 3; ++e) {
        const uint32_t op = in.Next() % 8;
        if (op == 7) {
            if (folder.size() > 1)
                folder.pop_back();
            continue;
        }
        const std::string relative = folder.back() + NameFrom(in);
        if (std::filesystem::exists(std::filesystem::symlink_status(tree.Path(relative))))
            continue; // a name taken already
        try {
            if (op <= 2) {
                const int64_t sectors = in.Next() % 24;
                const int64_t bytes =
                    std::max<int64_t>(0, sectors * Sector + SizeOffsets[in.Next() % 3]);
                tree.File(relative, bytes);
                files.push_back(relative);
            } else if (op == 3) {
                tree.Folder(relative);
                if (folder.size() < MaxDepth)
                    folder.push_back(relative + "/");
            } else if (op == 4) {
                tree.Folder(relative); // stays empty
            } else if (op == 5) {
                const std::string target = files.empty() || in.Next() % 2 == 0
                                               ? std::string(1 + in.Next() * 4, 'x')
                                               : tree.Path(files[in.Next() % files.size()]);
                tree.Link(relative, target);
            } else if (files.empty() || ::link(tree.Path(files[in.Next() % files.size()]).c_str(),
                                               tree.Path(relative).c_str()) != 0) {
                continue;
            }
        } catch (const std::runtime_error&) {
            continue; // beyond what the file system takes
        }
        if (relative.find('/') == std::string::npos)
            well.push_back(tree.Path(relative));
    }

    ketrilo::test::ModelImage image;
    ketrilo::SpanningPlan plan;
    try {
        plan = ketrilo::PlanDiscs(well, capacity, image, nullptr);
    } catch (const ketrilo::KetriloError&) {
        FUZZ_CHECK(false);
    }
    std::vector<std::string> planned = plan.tooLarge;
    for (const ketrilo::PlannedDisc& disc : plan.discs) {
        const int64_t measured = image.Measure(ketrilo::ImageItemsOf(disc), nullptr).sectors;
        FUZZ_CHECK(measured <= capacity && measured == disc.sectors);
        std::set<std::string> names;
        for (const ketrilo::PlannedItem& item : disc.items) {
            planned.push_back(item.diskPath);
            FUZZ_CHECK(names.insert(item.imagePath).second);
        }
    }
    FUZZ_CHECK(ketrilo::test::FilesUnder(planned) == ketrilo::test::FilesUnder(well));
    for (const std::string& path : plan.tooLarge) {
        const std::string name = std::filesystem::path(path).filename().string();
        FUZZ_CHECK(image.Measure({{name, path}}, nullptr).sectors > capacity);
    }
    return 0;
}
