// The plan's packing over any items: every item ends in exactly one bin, each bin's load
// is its items' costs, two items of one root name never share a bin, and only a bin
// holding a single item may be over capacity. The count of bins is at least the lower
// bound and at most what first-fit decreasing takes alone, as the packing promises. For up
// to eight items it is at least the least possible (found by trying every partition);
// where no root name comes twice, within first-fit decreasing's bound of 11/9 of it plus
// 6/9; with root names at most one over it (not promised, but no run has found more: one
// that does has found a packing worth looking at). Where every item is at most a quarter
// bin and no root name comes twice, first-fit decreasing fills every bin but the last
// beyond three quarters with at least four items, so with up to 16 items the count is at
// most one over the lower bound.
#include "FuzzInput.h"
#include "core/plan/BinPacking.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <numeric>
#include <set>

namespace {

constexpr size_t HeaderBytes = 2;
constexpr size_t ItemBytes = 3;
// Enough for every search to run out of its budget; more items only slow each run.
constexpr size_t MaxItems = 16;
constexpr size_t MaxBruteForceItems = 8;

// Whether items can share one bin: no root name twice, and within capacity unless alone.
bool Allowed(const ketrilo::PackProblem& problem, const std::vector<uint32_t>& items) {
    if (items.size() <= 1)
        return true;
    int64_t load = 0;
    std::set<uint32_t> names;
    for (uint32_t i : items) {
        const ketrilo::PackItem& it = problem.items[i];
        load += it.cost;
        if (!names.insert(it.rootName).second)
            return false;
    }
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

// Bins no packing can do without: the items of each root name apart, and the costs of the
// items that fit a bin at all, a full bin at a time, plus one for each other item.
size_t LowerBound(const ketrilo::PackProblem& problem) {
    std::map<uint32_t, size_t> named;
    int64_t fitting = 0;
    size_t alone = 0;
    for (const ketrilo::PackItem& it : problem.items) {
        ++named[it.rootName];
        if (it.cost > problem.capacity)
            ++alone;
        else
            fitting += it.cost;
    }
    size_t bound = alone + static_cast<size_t>((fitting + problem.capacity - 1) / problem.capacity);
    for (const auto& [name, count] : named)
        bound = std::max(bound, count);
    return bound;
}

// The bins first-fit decreasing takes alone: the costliest item first, each into the first
// bin it may share.
size_t FirstFitDecreasingBins(const ketrilo::PackProblem& problem) {
    std::vector<uint32_t> order(problem.items.size());
    std::iota(order.begin(), order.end(), 0U);
    std::stable_sort(order.begin(), order.end(), [&problem](uint32_t a, uint32_t b) {
        return problem.items[a].cost > problem.items[b].cost;
    });
    std::vector<std::vector<uint32_t>> bins;
    for (uint32_t item : order) {
        size_t bin = 0;
        for (; bin < bins.size(); ++bin) {
            bins[bin].push_back(item);
            const bool shared = Allowed(problem, bins[bin]);
            bins[bin].pop_back();
            if (shared)
                break;
        }
        if (bin == bins.size())
            bins.emplace_back();
        bins[bin].push_back(item);
    }
    return bins.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ketrilo::fuzz::Bytes in(data, size);
    ketrilo::PackProblem problem;
    problem.capacity = 1 + in.Next16();
    const size_t items =
        std::min(MaxItems, size > HeaderBytes ? (size - HeaderBytes) / ItemBytes : 0);
    for (size_t i = 0; i < items; ++i) {
        ketrilo::PackItem item;
        item.cost = in.Next16() % (2 * problem.capacity + 1);
        item.rootName = in.Next() % 16;
        problem.items.push_back(item);
    }

    const ketrilo::PackedBins bins = ketrilo::PackBins(problem, nullptr);
    std::vector<int> seen(problem.items.size(), 0);
    for (size_t b = 0; b < bins.Count(); ++b) {
        const std::vector<uint32_t>& inBin = bins.Items(b);
        FUZZ_CHECK(!inBin.empty());
        int64_t load = 0;
        std::set<uint32_t> names;
        for (uint32_t item : inBin) {
            FUZZ_CHECK(item < problem.items.size() && bins.BinOf(item) == static_cast<int32_t>(b));
            ++seen[item];
            load += problem.items[item].cost;
            FUZZ_CHECK(names.insert(problem.items[item].rootName).second);
        }
        FUZZ_CHECK(load == bins.Load(b));
        FUZZ_CHECK(load <= problem.capacity || inBin.size() == 1);
    }
    FUZZ_CHECK(std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; }));

    FUZZ_CHECK(bins.Count() >= LowerBound(problem));
    FUZZ_CHECK(bins.Count() <= FirstFitDecreasingBins(problem));
    std::set<uint32_t> names;
    const bool namesOnce =
        std::all_of(problem.items.begin(), problem.items.end(),
                    [&](const auto& it) { return names.insert(it.rootName).second; });
    if (problem.items.size() <= MaxBruteForceItems) {
        std::vector<std::vector<uint32_t>> partition;
        size_t least = problem.items.size() + 1;
        LeastBins(problem, 0, partition, least);
        FUZZ_CHECK(bins.Count() >= least);
        FUZZ_CHECK(bins.Count() <= least + 1);
        if (namesOnce)
            FUZZ_CHECK(9 * bins.Count() <= 11 * least + 6);
    }
    const bool small = std::all_of(problem.items.begin(), problem.items.end(),
                                   [&](const auto& it) { return 4 * it.cost <= problem.capacity; });
    if (namesOnce && small)
        FUZZ_CHECK(bins.Count() <= LowerBound(problem) + 1);
    return 0;
}
