// The plan's packing over any items: every item ends in exactly one bin, each bin's load
// is its items' costs plus each shared folder once, two items of different owners with
// one root name never share a bin, and only a bin holding a single item may be over
// capacity.
#include "FuzzInput.h"
#include "core/plan/BinPacking.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>

namespace {

constexpr size_t HeaderBytes = 3;
constexpr size_t ItemBytes = 6;
// Enough for every search to run out of its budget; more items only slow each run.
constexpr size_t MaxItems = 16;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ketrilo::fuzz::Bytes in(data, size);
    ketrilo::PackProblem problem;
    problem.capacity = 1 + in.Next16();
    const uint32_t folders = in.Next() % 9;
    for (uint32_t f = 0; f < folders; ++f)
        problem.folderCost.push_back(in.Next() * (1 + problem.capacity / 512));
    const size_t items =
        std::min(MaxItems, size > HeaderBytes ? (size - HeaderBytes) / ItemBytes : 0);
    for (size_t i = 0; i < items; ++i) {
        ketrilo::PackItem item;
        item.cost = in.Next16() % (2 * problem.capacity + 1);
        const uint32_t mask = in.Next() | in.Next() << 8;
        for (uint32_t f = 0; f < folders; ++f)
            if ((mask >> f & 1) != 0)
                item.folders.push_back(f);
        item.rootName = in.Next() % 6;
        item.owner = in.Next() % 6;
        problem.items.push_back(std::move(item));
    }

    const ketrilo::PackedBins bins = ketrilo::PackBins(problem, nullptr);
    std::vector<int> seen(problem.items.size(), 0);
    for (size_t b = 0; b < bins.Count(); ++b) {
        const std::vector<uint32_t>& inBin = bins.Items(b);
        FUZZ_CHECK(!inBin.empty());
        int64_t load = 0;
        std::set<uint32_t> shared;
        std::set<std::pair<uint32_t, uint32_t>> names; // root name, owner
        for (uint32_t item : inBin) {
            FUZZ_CHECK(item < problem.items.size() && bins.BinOf(item) == static_cast<int32_t>(b));
            ++seen[item];
            const ketrilo::PackItem& it = problem.items[item];
            load += it.cost;
            shared.insert(it.folders.begin(), it.folders.end());
            names.emplace(it.rootName, it.owner);
        }
        for (uint32_t f : shared)
            load += problem.folderCost[f];
        FUZZ_CHECK(load == bins.Load(b));
        FUZZ_CHECK(load <= problem.capacity || inBin.size() == 1);
        for (auto it = names.begin(); it != names.end(); ++it) {
            const auto next = std::next(it);
            FUZZ_CHECK(next == names.end() || next->first != it->first);
        }
    }
    FUZZ_CHECK(std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; }));
    return 0;
}
