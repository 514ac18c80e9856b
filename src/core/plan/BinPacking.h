#pragma once
// Packing items of known cost into as few bins as possible. Every item lands at its
// bin's root under its own name, so two items of one name never share a bin (they
// would collide in the image).

#include "core/base/WorkProgress.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace ketrilo {

struct PackItem {
    int64_t cost = 0;
    uint32_t rootName = 0; // id of its name at the image root
};

struct PackProblem {
    std::vector<PackItem> items;
    int64_t capacity = 0; // of every bin
};

// The bins and their loads; items move between them one at a time.
class PackedBins {
public:
    explicit PackedBins(const PackProblem& problem);

    [[nodiscard]] const PackProblem& Problem() const { return *m_problem; }
    [[nodiscard]] size_t Count() const { return m_bins.size(); }
    [[nodiscard]] int64_t Load(size_t bin) const { return m_bins[bin].load; }
    [[nodiscard]] const std::vector<uint32_t>& Items(size_t bin) const { return m_bins[bin].items; }
    [[nodiscard]] int32_t BinOf(uint32_t item) const { return m_binOf[item]; }

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
        std::unordered_map<uint32_t, int32_t> names; // root name -> items of that name
    };
    const PackProblem* m_problem;
    std::vector<Bin> m_bins;
    std::vector<int32_t> m_binOf;
    std::vector<uint32_t> m_slot; // position of each item in its bin's list
};

// The work one packing or fill may do: every search it runs spends visits from it, so
// that searches chasing one another, or hopeless ones over hundreds of thousands of
// items, end soon however many there are. A few items get a budget in proportion,
// enough to search them through; one attempt may spend no more than its own limit of
// what is left. Progress, when given, is polled for a cancel request now and then.
class VisitBudget {
public:
    explicit VisitBudget(size_t items, WorkProgress* progress = nullptr);
    void StartAttempt(int64_t limit) { m_attemptLeft = limit; }
    // False, spending nothing, once the whole or the attempt's share is spent. Throws
    // WorkCancelled on a cancel request.
    bool Spend() {
        if (m_left <= 0 || m_attemptLeft <= 0)
            return false;
        if ((--m_left & PollMask) == 0 && m_progress != nullptr)
            m_progress->ThrowIfCancelled();
        --m_attemptLeft;
        return true;
    }
    [[nodiscard]] bool Spent() const { return m_left <= 0 || m_attemptLeft <= 0; }

private:
    static constexpr int64_t PollMask = (1 << 16) - 1;
    int64_t m_left;
    int64_t m_attemptLeft = 0;
    WorkProgress* m_progress;
};

// Of candidates (items not in any bin, tried in the order given, each at most once), the
// ones that placed in bin leave it the least room under limit, searched depth first: a
// candidate like the one just tried at the same depth (same cost) is skipped,
// and so is a branch that cannot leave less room than the best found. The search ends
// once the room is at most enoughRoom or the budget's attempt is spent. So the first set
// found is, in the candidates' order, the earliest. Returns their positions in
// candidates, ascending; the bin ends as it began.
[[nodiscard]] std::vector<size_t> LeastRoomSubset(PackedBins& bins, size_t bin,
                                                  const std::vector<uint32_t>& candidates,
                                                  int64_t limit, int64_t enoughRoom,
                                                  VisitBudget& budget);

// First-fit decreasing, then bins are emptied one by one into the others, moving and
// swapping items, while that lowers the count, within a budget of work for the whole
// packing. Deterministic. An item costlier than a bin gets a bin of its own. Never more
// bins than first-fit decreasing alone, so where no name comes twice at most 11/9 of the
// fewest possible plus 6/9.
[[nodiscard]] PackedBins PackBins(const PackProblem& problem, WorkProgress* progress);

} // namespace ketrilo
