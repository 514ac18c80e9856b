#include "core/plan/BinPacking.h"

#include <algorithm>
#include <numeric>
#include <queue>

namespace ketrilo {

namespace {

constexpr int64_t EmptyBinVisits = 20'000'000;
constexpr int64_t FillBinVisits = 200'000;

// Costliest first; equal costs in item order.
std::vector<uint32_t> DecreasingOrder(const PackProblem& problem, std::vector<uint32_t> items) {
    std::stable_sort(items.begin(), items.end(), [&problem](uint32_t a, uint32_t b) {
        return problem.items[a].cost > problem.items[b].cost;
    });
    return items;
}

// Makes room for item in some bin by exchanging a costlier item of that bin with a
// cheaper one of another, then places it there. False (bins unchanged) when no
// exchange found within the visit budget does it.
bool ExchangeToMakeRoom(PackedBins& bins, const PackProblem& problem, size_t victim, uint32_t item,
                        VisitBudget& budget) {
    const int64_t cap = problem.capacity;
    for (size_t a = 0; a < bins.Count(); ++a) {
        if (a == victim)
            continue;
        const int64_t need = bins.Load(a) + problem.items[item].cost - cap;
        for (size_t b = 0; b < bins.Count(); ++b) {
            if (b == victim || b == a)
                continue;
            const int64_t roomB = cap - bins.Load(b);
            // Copies: the lists change while an exchange is tried.
            const std::vector<uint32_t> itemsA = bins.Items(a), itemsB = bins.Items(b);
            for (uint32_t x : itemsA) {
                for (uint32_t y : itemsB) {
                    if (!budget.Spend())
                        return false;
                    const int64_t delta = problem.items[x].cost - problem.items[y].cost;
                    if (delta < need || delta > roomB)
                        continue;
                    bins.Remove(x);
                    bins.Remove(y);
                    const bool swapped = bins.Fits(b, x, cap) && bins.Fits(a, y, cap);
                    if (swapped) {
                        bins.Place(b, x);
                        bins.Place(a, y);
                        if (bins.Fits(a, item, cap)) {
                            bins.Place(a, item);
                            return true;
                        }
                        bins.Remove(x);
                        bins.Remove(y);
                    }
                    bins.Place(a, x);
                    bins.Place(b, y);
                }
            }
        }
    }
    return false;
}

// Minimum bin slack: each bin in turn is seeded with the costliest item left and filled
// with the subset of the others that leaves it the least room, searched depth first
// within a budget. Finds packings that first-fit decreasing misses on few large items.
PackedBins SlackFill(const PackProblem& problem, VisitBudget& budget) {
    PackedBins bins(problem);
    std::vector<uint32_t> all(problem.items.size());
    std::iota(all.begin(), all.end(), 0U);
    std::vector<uint32_t> left = DecreasingOrder(problem, std::move(all));
    while (!left.empty()) {
        const size_t bin = bins.AddBin();
        bins.Place(bin, left.front());
        budget.StartAttempt(FillBinVisits);
        const std::vector<uint32_t> others(left.begin() + 1, left.end());
        for (size_t i : LeastRoomSubset(bins, bin, others, problem.capacity, 0, budget))
            bins.Place(bin, others[i]);
        std::vector<uint32_t> rest;
        for (uint32_t item : others)
            if (bins.BinOf(item) < 0)
                rest.push_back(item);
        left = std::move(rest);
    }
    return bins;
}

// The depth-first search of LeastRoomSubset.
class LeastRoomSearch {
public:
    LeastRoomSearch(PackedBins& bins, size_t bin, const std::vector<uint32_t>& candidates,
                    const PackProblem& problem, int64_t limit, int64_t enoughRoom,
                    VisitBudget& budget)
        : m_bins(bins), m_bin(bin), m_candidates(candidates), m_problem(problem), m_limit(limit),
          m_enoughRoom(enoughRoom), m_budget(budget), m_most(candidates.size() + 1, 0),
          m_alone(candidates.size(), true) {
        // What the candidates from each position on could add at most.
        for (size_t i = candidates.size(); i-- > 0;)
            m_most[i] = m_most[i + 1] + problem.items[candidates[i]].cost;
        std::unordered_map<uint32_t, int32_t> named;
        for (uint32_t item : candidates)
            ++named[problem.items[item].rootName];
        for (size_t i = 0; i < candidates.size(); ++i)
            m_alone[i] = named[problem.items[candidates[i]].rootName] == 1;
        m_costliestFirst = std::is_sorted(candidates.begin(), candidates.end(),
                                          [&problem](uint32_t a, uint32_t b) {
                                              return problem.items[a].cost > problem.items[b].cost;
                                          });
    }

    std::vector<size_t> Run() {
        Search(0);
        return m_best;
    }

private:
    // True once the room is small enough or the budget is spent.
    bool Search(size_t from) {
        const int64_t room = m_limit - m_bins.Load(m_bin);
        if (m_bestRoom < 0 || room < m_bestRoom) {
            m_bestRoom = room;
            m_best = m_chosen;
        }
        if (room <= m_enoughRoom)
            return true;
        if (room - m_most[from] >= m_bestRoom)
            return false; // even all the rest would not leave less
        int64_t triedCost = -1;
        size_t i = from;
        if (m_costliestFirst) // those too costly for the room come first: passed at once
            i = static_cast<size_t>(
                std::partition_point(m_candidates.begin() + static_cast<std::ptrdiff_t>(from),
                                     m_candidates.end(),
                                     [&](uint32_t c) { return m_problem.items[c].cost > room; }) -
                m_candidates.begin());
        for (; i < m_candidates.size(); ++i) {
            if (!m_budget.Spend())
                return true;
            const uint32_t item = m_candidates[i];
            const PackItem& it = m_problem.items[item];
            // An item like one just tried at this depth leads nowhere new, when nothing
            // else could clash with the name of the one tried.
            if (it.cost > room || it.cost == triedCost || !m_bins.Fits(m_bin, item, m_limit))
                continue;
            triedCost = m_alone[i] ? it.cost : -1;
            m_bins.Place(m_bin, item);
            m_chosen.push_back(i);
            const bool done = Search(i + 1);
            m_chosen.pop_back();
            m_bins.Remove(item);
            if (done)
                return true;
        }
        return false;
    }

    PackedBins& m_bins;
    size_t m_bin;
    const std::vector<uint32_t>& m_candidates;
    const PackProblem& m_problem;
    int64_t m_limit, m_enoughRoom;
    VisitBudget& m_budget;
    std::vector<int64_t> m_most;
    std::vector<bool> m_alone; // no other candidate has its name
    bool m_costliestFirst = false;
    int64_t m_bestRoom = -1;
    std::vector<size_t> m_chosen, m_best;
};

int64_t LowerBound(const PackProblem& problem) {
    int64_t total = 0;
    for (const PackItem& item : problem.items)
        total += item.cost;
    return problem.capacity > 0 ? (total + problem.capacity - 1) / problem.capacity : 0;
}

} // namespace

VisitBudget::VisitBudget(size_t items, WorkProgress* progress) : m_progress(progress) {
    const auto n = static_cast<int64_t>(std::min<size_t>(items, 1'000'000));
    m_left = std::clamp<int64_t>(64 * n * n, 10'000, 60'000'000);
}

std::vector<size_t> LeastRoomSubset(PackedBins& bins, size_t bin,
                                    const std::vector<uint32_t>& candidates, int64_t limit,
                                    int64_t enoughRoom, VisitBudget& budget) {
    return LeastRoomSearch(bins, bin, candidates, bins.Problem(), limit, enoughRoom, budget).Run();
}

PackedBins::PackedBins(const PackProblem& problem)
    : m_problem(&problem), m_binOf(problem.items.size(), -1), m_slot(problem.items.size(), 0) {}

bool PackedBins::Fits(size_t bin, uint32_t item, int64_t limit) const {
    const PackItem& it = m_problem->items[item];
    return m_bins[bin].load + it.cost <= limit && !m_bins[bin].names.contains(it.rootName);
}

bool PackedBins::SwapFits(size_t bin, uint32_t out, uint32_t in, int64_t limit) const {
    const Bin& b = m_bins[bin];
    const PackItem& leaving = m_problem->items[out];
    const PackItem& coming = m_problem->items[in];
    const auto name = b.names.find(coming.rootName);
    if (name != b.names.end() && !(leaving.rootName == coming.rootName && name->second == 1))
        return false;
    return b.load - leaving.cost + coming.cost <= limit;
}

size_t PackedBins::AddBin() {
    m_bins.emplace_back();
    return m_bins.size() - 1;
}

void PackedBins::Place(size_t bin, uint32_t item) {
    Bin& b = m_bins[bin];
    const PackItem& it = m_problem->items[item];
    b.load += it.cost;
    ++b.names[it.rootName];
    m_binOf[item] = static_cast<int32_t>(bin);
    m_slot[item] = static_cast<uint32_t>(b.items.size());
    b.items.push_back(item);
}

void PackedBins::Remove(uint32_t item) {
    const auto bin = static_cast<size_t>(m_binOf[item]);
    Bin& b = m_bins[bin];
    const PackItem& it = m_problem->items[item];
    b.load -= it.cost;
    if (--b.names[it.rootName] == 0)
        b.names.erase(it.rootName);
    const uint32_t last = b.items.back();
    b.items[m_slot[item]] = last;
    m_slot[last] = m_slot[item];
    b.items.pop_back();
    m_binOf[item] = -1;
}

void PackedBins::Compact() {
    std::vector<Bin> kept;
    for (Bin& b : m_bins)
        if (!b.items.empty())
            kept.push_back(std::move(b));
    m_bins = std::move(kept);
    for (size_t bin = 0; bin < m_bins.size(); ++bin)
        for (uint32_t item : m_bins[bin].items)
            m_binOf[item] = static_cast<int32_t>(bin);
}

namespace {

// The bin other than victim that item fits leaving the least room, each bin b loaded with
// planned[b] more (nothing more when planned is empty); -1 when it fits none.
int64_t BestFit(const PackedBins& bins, const PackProblem& problem, size_t victim, uint32_t item,
                const std::vector<int64_t>& planned) {
    int64_t bestRoom = -1, best = -1;
    for (size_t b = 0; b < bins.Count(); ++b) {
        const int64_t limit = problem.capacity - (planned.empty() ? 0 : planned[b]);
        const int64_t room = limit - bins.Load(b) - problem.items[item].cost;
        // The name is looked up only for a bin that would be the best so far.
        if (b == victim || room < 0 || (bestRoom >= 0 && room >= bestRoom) ||
            !bins.Fits(b, item, limit))
            continue;
        bestRoom = room;
        best = static_cast<int64_t>(b);
    }
    return best;
}

// Tries to empty the least-loaded bin into the others; true when it was emptied
// (and dropped), false with the bins as they were.
bool EmptyOneBin(PackedBins& bins, const PackProblem& problem, VisitBudget& budget) {
    if (bins.Count() < 2)
        return false;
    size_t victim = 0;
    for (size_t b = 1; b < bins.Count(); ++b)
        if (bins.Load(b) <= bins.Load(victim))
            victim = b;

    const PackedBins before = bins;
    std::vector<uint32_t> pool = bins.Items(victim);
    for (uint32_t item : pool)
        bins.Remove(item);
    // Costliest first; equal costs in item order.
    const auto later = [&problem](uint32_t a, uint32_t b) {
        const int64_t ca = problem.items[a].cost, cb = problem.items[b].cost;
        return ca != cb ? ca < cb : a > b;
    };
    std::priority_queue<uint32_t, std::vector<uint32_t>, decltype(later)> queue(later, pool);
    budget.StartAttempt(EmptyBinVisits);
    while (!queue.empty()) {
        const uint32_t item = queue.top();
        queue.pop();
        const int64_t best = BestFit(bins, problem, victim, item, {});
        if (best >= 0) {
            bins.Place(static_cast<size_t>(best), item);
            continue;
        }
        // Swap: it takes the place of the costliest cheaper item whose leaving makes
        // room; that item goes back to the pool.
        int64_t swapCost = -1;
        uint32_t swapOut = 0;
        const int64_t cost = problem.items[item].cost;
        for (size_t b = 0; b < bins.Count() && !budget.Spent(); ++b) {
            if (b == victim)
                continue;
            for (uint32_t other : bins.Items(b)) {
                if (!budget.Spend())
                    break;
                const int64_t otherCost = problem.items[other].cost;
                if (otherCost < cost && otherCost > swapCost &&
                    bins.SwapFits(b, other, item, problem.capacity)) {
                    swapCost = otherCost;
                    swapOut = other;
                }
            }
        }
        if (swapCost < 0) {
            if (ExchangeToMakeRoom(bins, problem, victim, item, budget))
                continue;
            bins = before;
            return false;
        }
        const auto bin = static_cast<size_t>(bins.BinOf(swapOut));
        bins.Remove(swapOut);
        bins.Place(bin, item);
        queue.push(swapOut);
    }
    bins.Compact();
    return true;
}

// Moves every item of victim, the costliest first, to the bin it fits best, with no swaps;
// true when all go (the emptied bin dropped), false with the bins untouched.
bool MoveOut(PackedBins& bins, const PackProblem& problem, size_t victim) {
    const std::vector<uint32_t> items = DecreasingOrder(problem, bins.Items(victim));
    // The victim's items have names of their own: moved ones never clash with each other.
    std::vector<int64_t> planned(bins.Count(), 0);
    std::vector<size_t> to;
    for (uint32_t item : items) {
        const int64_t bin = BestFit(bins, problem, victim, item, planned);
        if (bin < 0)
            return false;
        planned[static_cast<size_t>(bin)] += problem.items[item].cost;
        to.push_back(static_cast<size_t>(bin));
    }
    for (size_t i = 0; i < items.size(); ++i) {
        bins.Remove(items[i]);
        bins.Place(to[i], items[i]);
    }
    bins.Compact();
    return true;
}

// The bin of the rank-th least load (0 the least); of equal loads the later bin first.
size_t ByLoad(const PackedBins& bins, size_t rank) {
    std::vector<size_t> order(bins.Count());
    std::iota(order.begin(), order.end(), size_t{0});
    std::nth_element(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(rank), order.end(),
                     [&bins](size_t a, size_t b) {
                         return bins.Load(a) != bins.Load(b) ? bins.Load(a) < bins.Load(b) : a > b;
                     });
    return order[rank];
}

// The least-loaded bin is emptied, with swaps and exchanges, while it can be. Then each
// other bin, least loaded first, goes when its items simply fit the others: a bin whose
// items clash by name with every bin that has room keeps no fuller bin from going.
void EmptyBins(PackedBins& bins, const PackProblem& problem, VisitBudget& budget,
               WorkProgress* progress) {
    while (EmptyOneBin(bins, problem, budget))
        if (progress != nullptr)
            progress->ThrowIfCancelled();
    for (size_t rank = 1; rank < bins.Count();) {
        if (!MoveOut(bins, problem, ByLoad(bins, rank)))
            ++rank;
        if (progress != nullptr)
            progress->ThrowIfCancelled();
    }
}

} // namespace

PackedBins PackBins(const PackProblem& problem, WorkProgress* progress) {
    std::vector<uint32_t> all(problem.items.size());
    std::iota(all.begin(), all.end(), 0U);
    VisitBudget budget(problem.items.size(), progress);
    PackedBins bins(problem);
    for (uint32_t item : DecreasingOrder(problem, std::move(all))) {
        size_t bin = 0;
        while (bin < bins.Count() && !bins.Fits(bin, item, problem.capacity))
            ++bin;
        if (bin == bins.Count())
            bins.AddBin();
        bins.Place(bin, item);
    }
    EmptyBins(bins, problem, budget, progress);
    if (static_cast<int64_t>(bins.Count()) <= LowerBound(problem))
        return bins;
    PackedBins slack = SlackFill(problem, budget);
    EmptyBins(slack, problem, budget, progress);
    return slack.Count() < bins.Count() ? slack : bins;
}

} // namespace ketrilo
