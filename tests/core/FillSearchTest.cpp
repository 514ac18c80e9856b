#include "core/plan/FillSearch.h"
#include "ModelImage.h"
#include "TempTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>

namespace ketrilo {
namespace {

using test::ModelImage;
using test::UndercountingImage;
using test::TempTree;

constexpr int64_t Sector = 2048;

std::vector<FillCandidate> Costs(const std::vector<int64_t>& costs) {
    std::vector<FillCandidate> candidates;
    for (size_t i = 0; i < costs.size(); ++i)
        candidates.push_back({costs[i], static_cast<uint32_t>(i)});
    return candidates;
}

int64_t Grains(int64_t load, int64_t grain) {
    return (load + grain - 1) / grain;
}

// Every subset: the most grains within room, and of those the earliest list of positions.
std::vector<size_t> BruteForce(const std::vector<FillCandidate>& candidates, int64_t room,
                               int64_t grain) {
    std::vector<size_t> best;
    int64_t bestGrains = 0;
    for (uint32_t mask = 0; mask < (1U << candidates.size()); ++mask) {
        std::vector<size_t> chosen;
        std::set<uint32_t> names;
        int64_t load = 0;
        bool clash = false;
        for (size_t i = 0; i < candidates.size(); ++i) {
            if ((mask >> i & 1) == 0)
                continue;
            chosen.push_back(i);
            load += candidates[i].cost;
            clash = clash || !names.insert(candidates[i].name).second;
        }
        if (clash || load > room)
            continue;
        const int64_t grains = Grains(load, grain);
        if (grains > bestGrains || (grains == bestGrains && chosen < best)) {
            bestGrains = grains;
            best = chosen;
        }
    }
    return best;
}

TEST(FillSearch, FindsTheFullestAndOfThoseTheEarliestSetOnSmallInstances) {
    uint64_t x = 2024;
    const auto next = [&x](uint64_t below) {
        x = x * 6364136223846793005ULL + 1442695040888963407ULL;
        return (x >> 33) % below;
    };
    for (int instance = 0; instance < 400; ++instance) {
        const size_t n = 1 + next(11);
        const int64_t room = 1 + static_cast<int64_t>(next(200));
        const int64_t grain = instance % 2 == 0 ? 1 : 1 + static_cast<int64_t>(next(16));
        std::vector<FillCandidate> candidates;
        for (size_t i = 0; i < n; ++i)
            candidates.push_back({1 + static_cast<int64_t>(next(instance % 3 == 0 ? 20 : 120)),
                                  static_cast<uint32_t>(next(instance % 5 == 0 ? 4 : 100))});
        const FillChoice choice = ChooseFill(candidates, room, grain, nullptr);
        const std::vector<size_t> best = BruteForce(candidates, room, grain);
        ASSERT_EQ(choice.chosen, best) << "instance " << instance;
        int64_t load = 0;
        for (size_t i : choice.chosen)
            load += candidates[i].cost;
        EXPECT_EQ(choice.load, load);
        EXPECT_EQ(choice.tooLarge, static_cast<size_t>(std::count_if(
                                       candidates.begin(), candidates.end(),
                                       [room](const FillCandidate& c) { return c.cost > room; })));
    }
}

TEST(FillSearch, EquallyFullSetsGoToTheEarlierCandidates) {
    EXPECT_EQ(ChooseFill(Costs({3, 2, 5}), 5, 1, nullptr).chosen, (std::vector<size_t>{0, 1}));
    EXPECT_EQ(ChooseFill(Costs({5, 3, 2}), 5, 1, nullptr).chosen, (std::vector<size_t>{0}));
    EXPECT_EQ(ChooseFill(Costs({4, 4, 4}), 8, 1, nullptr).chosen, (std::vector<size_t>{0, 1}));
    // 9 and 10 both come to one grain of 10: the earlier one is taken.
    EXPECT_EQ(ChooseFill(Costs({9, 10}), 10, 10, nullptr).chosen, (std::vector<size_t>{0}));
}

TEST(FillSearch, SkipsAndCountsWhatIsTooLargeAndNeverTakesOneNameTwice) {
    const FillChoice large = ChooseFill(Costs({11, 4, 30, 6}), 10, 1, nullptr);
    EXPECT_EQ(large.chosen, (std::vector<size_t>{1, 3}));
    EXPECT_EQ(large.tooLarge, 2u);
    EXPECT_EQ(ChooseFill(Costs({11, 30}), 10, 1, nullptr).chosen, std::vector<size_t>{});

    std::vector<FillCandidate> named = Costs({5, 5, 3});
    named[1].name = named[0].name;
    EXPECT_EQ(ChooseFill(named, 10, 1, nullptr).chosen, (std::vector<size_t>{0, 2}));
    // The second 3 is no mere repeat of the first: only it goes with the 2.
    named = Costs({3, 3, 2});
    named[2].name = named[0].name;
    EXPECT_EQ(ChooseFill(named, 5, 1, nullptr).chosen, (std::vector<size_t>{1, 2}));
}

TEST(FillSearch, ManyCandidatesFillBetterThanSimpleRulesAndAlwaysAlike) {
    std::vector<int64_t> costs;
    uint64_t x = 77;
    for (int i = 0; i < 3000; ++i) {
        x = x * 6364136223846793005ULL + 1442695040888963407ULL;
        costs.push_back(1000 + static_cast<int64_t>((x >> 33) % 400000));
    }
    const int64_t room = 50'000'017;
    const FillChoice choice = ChooseFill(Costs(costs), room, 1, nullptr);
    EXPECT_LE(choice.load, room);
    EXPECT_TRUE(std::is_sorted(choice.chosen.begin(), choice.chosen.end()));
    EXPECT_EQ(std::adjacent_find(choice.chosen.begin(), choice.chosen.end()), choice.chosen.end());
    int64_t inOrder = 0;
    for (int64_t cost : costs)
        if (inOrder + cost <= room)
            inOrder += cost;
    std::vector<int64_t> sorted = costs;
    std::sort(sorted.rbegin(), sorted.rend());
    int64_t largestFirst = 0;
    for (int64_t cost : sorted)
        if (largestFirst + cost <= room)
            largestFirst += cost;
    EXPECT_GE(choice.load, std::max(inOrder, largestFirst));
    EXPECT_EQ(ChooseFill(Costs(costs), room, 1, nullptr).chosen, choice.chosen);
}

std::vector<ImageItem> Items(const std::vector<std::string>& paths) {
    std::vector<ImageItem> items;
    for (const std::string& path : paths)
        items.push_back({path.substr(path.rfind('/') + 1), path});
    return items;
}

TEST(FillSearch, TheDiscFillIsMeasuredAndFitsEvenWhenTheEstimateIsFarTooLow) {
    TempTree t;
    t.Folder("well");
    t.Folder("list");
    const std::vector<std::string> well = {t.File("well/a", 100 * Sector),
                                           t.File("well/same", Sector)};
    std::vector<std::string> candidates = {t.File("list/same", Sector), well[0]};
    for (int i = 0; i < 12; ++i) {
        candidates.push_back(t.Folder("list/d" + std::to_string(i)));
        candidates.back().pop_back();
        for (int f = 0; f <= i; ++f)
            t.File("list/d" + std::to_string(i) + "/f" + std::to_string(f), 3 * Sector + 1);
    }
    candidates.push_back(candidates[5]);
    for (int64_t perEntry : {300, 3000}) {
        ModelImage image;
        image.perEntry = perEntry;
        const int64_t capacity = 250;
        const DiscFill fill = FillDisc(Items(well), candidates, capacity, image, nullptr);
        std::vector<ImageItem> items = Items(well);
        for (size_t i : fill.chosen) {
            EXPECT_GE(i, 2u) << "on the disc already, or its name is";
            EXPECT_LT(i, candidates.size() - 1) << "given twice";
            items.push_back(Items({candidates[i]}).front());
        }
        EXPECT_FALSE(fill.chosen.empty());
        EXPECT_EQ(fill.sectorsBefore, image.Measure(Items(well), nullptr).sectors);
        EXPECT_EQ(fill.sectorsAfter, image.Measure(items, nullptr).sectors);
        EXPECT_LE(fill.sectorsAfter, capacity);
        EXPECT_EQ(fill.capacity, capacity);
    }
}

// A choice the judge finds over the disc is given up, and said to differ.
TEST(FillSearch, TheJudgeProvesTheFill) {
    TempTree t;
    t.Folder("list");
    t.Folder("list/d");
    for (int i = 0; i < 100; ++i)
        t.File("list/d/f" + std::to_string(i), 1);
    UndercountingImage image;
    const DiscFill fill = FillDisc({}, {t.Path("list/d")}, 140, image, nullptr);
    EXPECT_FALSE(fill.disagreement.empty());
    EXPECT_TRUE(fill.chosen.empty());
    EXPECT_EQ(fill.sectorsAfter, image.judge.Measure({}, nullptr).sectors);
}

TEST(FillSearch, NothingIsChosenWhenTheDiscIsFullAlready) {
    TempTree t;
    const std::vector<std::string> well = {t.File("big", 400 * Sector)};
    ModelImage image;
    const DiscFill fill = FillDisc(Items(well), {t.File("small", 10)}, 300, image, nullptr);
    EXPECT_TRUE(fill.chosen.empty());
    EXPECT_EQ(fill.tooLarge, 1u);
    EXPECT_GT(fill.sectorsAfter, 300);
}

} // namespace
} // namespace ketrilo
