#pragma once
// Packing items of known cost into as few bins as possible. An item may need shared
// folders on its bin (each counted once per bin however many items need it), and
// two items with the same name at the root but from different owners never share a
// bin (they would collide in the image).

#include "WorkProgress.h"

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

namespace ketrilo {

struct PackItem {
    int64_t cost = 0;
    std::vector<uint32_t> folders; // ids into PackProblem::folderCost
    uint32_t rootName = 0;         // id of its name at the image root
    uint32_t owner = 0;            // the item of the well it comes from
};

struct PackProblem {
    std::vector<PackItem> items;
    std::vector<int64_t> folderCost;
    int64_t capacity = 0; // of every bin
};

// The bins and their loads; items move between them one at a time.
class PackedBins {
public:
    explicit PackedBins(const PackProblem& problem);

    [[nodiscard]] size_t Count() const { return m_bins.size(); }
    [[nodiscard]] int64_t Load(size_t bin) const { return m_bins[bin].load; }
    [[nodiscard]] const std::vector<uint32_t>& Items(size_t bin) const { return m_bins[bin].items; }
    [[nodiscard]] int32_t BinOf(uint32_t item) const { return m_binOf[item]; }

    // What the bin's load grows by with the item, and shrinks by without it.
    [[nodiscard]] int64_t AddCost(size_t bin, uint32_t item) const;
    [[nodiscard]] int64_t RemoveGain(size_t bin, uint32_t item) const;
    // No root-name collision and the load stays within limit.
    [[nodiscard]] bool Fits(size_t bin, uint32_t item, int64_t limit) const;

    // Whether in fits the bin once out (an item of that bin) has left it.
    [[nodiscard]] bool SwapFits(size_t bin, uint32_t out, uint32_t in, int64_t limit) const;

    size_t AddBin();
    void Place(size_t bin, uint32_t item);
    void Remove(uint32_t item);
    // Drops empty bins; the others keep their order.
    void Compact();

private:
    struct Bin {
        int64_t load = 0;
        std::vector<uint32_t> items;
        std::unordered_map<uint32_t, int32_t> folders;                    // id -> users
        std::unordered_map<uint32_t, std::pair<uint32_t, int32_t>> names; // name -> owner, users
    };
    const PackProblem* m_problem;
    std::vector<Bin> m_bins;
    std::vector<int32_t> m_binOf;
    std::vector<uint32_t> m_slot; // position of each item in its bin's list
};

// First-fit decreasing, then bins are emptied one by one into the others, moving and
// swapping items, while that lowers the count, within a budget of work for the whole
// packing. Deterministic. An item costlier than a bin gets a bin of its own.
[[nodiscard]] PackedBins PackBins(const PackProblem& problem, WorkProgress* progress);

} // namespace ketrilo
