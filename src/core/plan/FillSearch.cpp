#include "core/plan/FillSearch.h"

#include "core/image/ArithmeticDiscImage.h"
#include "core/image/ImageLayout.h"
#include "core/plan/BinPacking.h"
#include "core/plan/PlanTree.h"
#include "core/text/Numbers.h"

#include <algorithm>
#include <map>
#include <set>

namespace ketrilo {

namespace {

// Each of the two searches of a fill may visit this many candidates, some 50 ms. Sets
// that fill a disc to the sector are found well within it where many candidates can make
// one; where none can, the search runs to its end, and the fill's measured rounds repeat it.
constexpr int64_t SearchVisits = 1'000'000;
// The candidates' costs add up to the image but for the rounding of what they share with
// the disc (its path tables and root extents in whole sectors); past this many measured
// attempts to allow for it, the best set proven so far is taken.
constexpr int MeasuredRounds = 6;

class Grains {
public:
    Grains(int64_t room, int64_t grain) : m_room(room), m_grain(std::max<int64_t>(grain, 1)) {}
    [[nodiscard]] int64_t Of(int64_t load) const { return ClustersFor(m_grain, load); }
    // The most room a set may leave and still come to grains.
    [[nodiscard]] int64_t RoomFor(int64_t grains) const {
        return m_room - (grains - 1) * m_grain - 1;
    }

private:
    int64_t m_room, m_grain;
};

struct Found {
    std::vector<size_t> chosen; // ascending
    int64_t load = 0;
};

Found Search(PackedBins& bins, const std::vector<uint32_t>& order, int64_t room, int64_t enoughRoom,
             WorkProgress* progress) {
    VisitBudget budget(order.size(), progress);
    budget.StartAttempt(SearchVisits);
    Found found;
    for (size_t i : LeastRoomSubset(bins, 0, order, room, enoughRoom, budget)) {
        found.chosen.push_back(order[i]);
        found.load += bins.Problem().items[order[i]].cost;
    }
    std::sort(found.chosen.begin(), found.chosen.end());
    return found;
}

} // namespace

FillChoice ChooseFill(const std::vector<FillCandidate>& candidates, int64_t room, int64_t grain,
                      WorkProgress* progress) {
    FillChoice choice;
    PackProblem problem;
    problem.capacity = room;
    std::vector<uint32_t> inOrder;
    for (size_t i = 0; i < candidates.size(); ++i) {
        const auto id = static_cast<uint32_t>(i);
        problem.items.push_back({candidates[i].cost, candidates[i].name});
        if (candidates[i].cost > room)
            ++choice.tooLarge;
        else
            inOrder.push_back(id);
    }
    if (inOrder.empty())
        return choice;
    PackedBins bins(problem);
    bins.AddBin();
    const Grains grains(room, grain);

    // The fullest set the search finds, the costliest candidates tried first...
    std::vector<uint32_t> costliestFirst = inOrder;
    std::stable_sort(costliestFirst.begin(), costliestFirst.end(), [&](uint32_t a, uint32_t b) {
        return candidates[a].cost > candidates[b].cost;
    });
    const Found fullest =
        Search(bins, costliestFirst, room, grains.RoomFor(grains.Of(room)), progress);
    // ...then the earliest set as full, searched in the candidates' order: the first
    // that is found is the earliest.
    const int64_t goal = grains.Of(fullest.load);
    const Found earliest = Search(bins, inOrder, room, grains.RoomFor(goal), progress);
    const bool earliestWins =
        grains.Of(earliest.load) > goal ||
        (grains.Of(earliest.load) == goal && earliest.chosen <= fullest.chosen);
    const Found& taken = earliestWins ? earliest : fullest;
    choice.chosen = taken.chosen;
    choice.load = taken.load;
    return choice;
}

namespace {

struct Candidates {
    std::vector<FillCandidate> costs;
    std::vector<size_t> given;    // the position of each in the paths given
    std::vector<ImageItem> items; // of each
};

// The candidates that may go on the disc, with what each adds to its image.
// The image, when it can, takes the folders the scan reads.
Candidates Usable(const std::vector<ImageItem>& onDisc, const std::vector<std::string>& paths,
                  DiscImage& image, WorkProgress* progress) {
    const PlanTree tree = ScanPlanTree(paths, progress, dynamic_cast<FolderWitness*>(&image));
    std::set<std::string> seen, takenNames;
    std::map<std::string, uint32_t> nameIds;
    for (const ImageItem& item : onDisc) {
        seen.insert(item.diskPath);
        takenNames.insert(item.imagePath);
    }
    Candidates usable;
    for (size_t i = 0; i < tree.roots.size(); ++i) {
        const PlanNode& node = tree.nodes[tree.roots[i]];
        if (!seen.insert(node.diskPath).second || takenNames.contains(node.name))
            continue;
        const uint32_t name = nameIds.emplace(node.name, nameIds.size()).first->second;
        usable.costs.push_back({node.recordBytes + node.contentBytes, name});
        usable.given.push_back(i);
        usable.items.push_back({node.name, node.diskPath});
    }
    return usable;
}

// The fill measured again by the judge, if there is one; a choice it finds over the
// capacity is given up.
void Prove(DiscFill& fill, const std::vector<ImageItem>& onDisc,
           const std::vector<ImageItem>& candidates, const std::vector<size_t>& given,
           DiscImage* judge, WorkProgress* progress) {
    if (judge == nullptr)
        return;
    std::vector<ImageItem> items = onDisc;
    for (size_t chosen : fill.chosen)
        items.push_back(candidates[static_cast<size_t>(
            std::find(given.begin(), given.end(), chosen) - given.begin())]);
    const int64_t judged = judge->Measure(items, progress).sectors;
    fill.disagreement = Disagreement(items, fill.sectorsAfter, judged);
    if (fill.disagreement.empty())
        return;
    fill.sectorsAfter = judged;
    if (judged > fill.capacity && !fill.chosen.empty()) {
        fill.chosen.clear();
        fill.sectorsBefore = fill.sectorsAfter = judge->Measure(onDisc, progress).sectors;
    }
}

} // namespace

DiscFill FillDisc(const std::vector<ImageItem>& onDisc,
                  const std::vector<std::string>& candidatePaths, int64_t capacity,
                  DiscImage& image, WorkProgress* progress) {
    DiscFill fill;
    fill.capacity = capacity;
    image.Forget();
    fill.sectorsBefore = fill.sectorsAfter = image.Measure(onDisc, progress).sectors;
    const Candidates usable = Usable(onDisc, candidatePaths, image, progress);
    const int64_t room = std::max<int64_t>(capacity - fill.sectorsBefore, 0);
    // Sectors the image needs beyond the costs, as last measured.
    int64_t missed = 0;
    for (int round = 0; round < MeasuredRounds; ++round) {
        const int64_t roomBytes = std::max<int64_t>(room - missed, 0) * ImageSectorBytes;
        const FillChoice choice = ChooseFill(usable.costs, roomBytes, ImageSectorBytes, progress);
        if (round == 0)
            fill.tooLarge = choice.tooLarge;
        if (choice.chosen.empty())
            break;
        std::vector<ImageItem> items = onDisc;
        for (size_t i : choice.chosen)
            items.push_back(usable.items[i]);
        const int64_t real = image.Measure(items, progress).sectors;
        if (real <= capacity && real > fill.sectorsAfter) {
            fill.sectorsAfter = real;
            fill.chosen.clear();
            for (size_t i : choice.chosen)
                fill.chosen.push_back(usable.given[i]);
        }
        const int64_t nowMissed =
            real - fill.sectorsBefore - ClustersFor(ImageSectorBytes, choice.load);
        // Full, or the costs already allowed for what they miss: no better set to find.
        if (real == capacity || (real < capacity && nowMissed == missed))
            break;
        missed = real > capacity ? std::max(nowMissed, missed + real - capacity) : nowMissed;
    }
    Prove(fill, onDisc, usable.items, usable.given, image.Judge(), progress);
    return fill;
}

} // namespace ketrilo
