// The plan's packing over any items: every item ends in exactly one bin, each bin's load
// is its items' costs plus each shared folder once, two items of different owners with
// one root name never share a bin, and only a bin holding a single item may be over
// capacity. The count of bins is at least the lower bound; for up to eight items it is at
// most one over the least possible (found by trying every partition: the heuristic may
// miss the best where root names part items), and for more at most one over the lower
// bound where that bound is one a packing can reach: no shared folders, no root name of two
// owners and every item at most a quarter bin.
#include "FuzzInput.h"
#include "core/plan/BinPacking.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <utility>

namespace {

constexpr size_t HeaderBytes = 3;
constexpr size_t ItemBytes = 6;
// Enough for every search to run out of its budget; more items only slow each run.
constexpr size_t MaxItems = 16;
constexpr size_t MaxBruteForceItems = 8;

// Whether items can share one bin: no two owners of one root name, and within capacity
// unless alone.
bool Allowed(const ketrilo::PackProblem& problem, const std::vector<uint32_t>& items) {
    if (items.size() <= 1)
        return true;
    int64_t load = 0;
    std::set<uint32_t> shared;
    std::map<uint32_t, uint32_t> ownerOf;
    for (uint32_t i : items) {
        const ketrilo::PackItem& it = problem.items[i];
        load += it.cost;
        shared.insert(it.folders.begin(), it.folders.end());
        const auto [at, added] = ownerOf.emplace(it.rootName, it.owner);
        if (!added && at->second != it.owner)
            return false;
    }
    for (uint32_t f : shared)
        load += problem.folderCost[f];
    return load <= problem.capacity;
}

// The fewest bins, over every partition of the items (each item joins an earlier bin or
// opens the next one; a branch stops once it cannot beat the best found).
void LeastBins(const ketrilo::PackProblem& problem, uint32_t item,
               std::vector<std::vector<uint32_t>>& bins, size_t& best) {
    if (bins.size() >= best)
        return;
    if (item == problem.items.size()) {
        best = bins.size();
        return;
    }
    // By index: deeper calls open bins, which may move them.
    for (size_t b = 0; b < bins.size(); ++b) {
        bins[b].push_back(item);
        if (Allowed(problem, bins[b]))
            LeastBins(problem, item + 1, bins, best);
        bins[b].pop_back();
    }
    bins.push_back({item});
    LeastBins(problem, item + 1, bins, best);
    bins.pop_back();
}

// Bins no packing can do without: each root name's distinct owners apart, and the costs
// of the items that fit a bin at all, a full bin at a time, plus one for each other item.
size_t LowerBound(const ketrilo::PackProblem& problem) {
    std::map<uint32_t, std::set<uint32_t>> owners;
    int64_t fitting = 0;
    size_t alone = 0;
    for (size_t i = 0; i < problem.items.size(); ++i) {
        const ketrilo::PackItem& it = problem.items[i];
        owners[it.rootName].insert(it.owner);
        int64_t own = it.cost;
        for (uint32_t f : it.folders)
            own += problem.folderCost[f];
        if (own > problem.capacity)
            ++alone;
        else
            fitting += it.cost;
    }
    size_t bound = alone + static_cast<size_t>((fitting + problem.capacity - 1) / problem.capacity);
    for (const auto& [name, who] : owners)
        bound = std::max(bound, who.size());
    return bound;
}

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

    FUZZ_CHECK(bins.Count() >= LowerBound(problem));
    if (problem.items.size() <= MaxBruteForceItems) {
        std::vector<std::vector<uint32_t>> partition;
        size_t least = problem.items.size() + 1;
        LeastBins(problem, 0, partition, least);
        FUZZ_CHECK(bins.Count() <= least + 1);
    }
    std::map<uint32_t, uint32_t> ownerOf;
    const bool reachable =
        std::all_of(problem.items.begin(), problem.items.end(), [&](const auto& it) {
            return it.folders.empty() && 4 * it.cost <= problem.capacity &&
                   ownerOf.emplace(it.rootName, it.owner).first->second == it.owner;
        });
    if (reachable)
        FUZZ_CHECK(bins.Count() <= LowerBound(problem) + 1);
    return 0;
}
