#include "core/plan/BinPacking.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace ketrilo {
namespace {

PackProblem Problem(const std::vector<int64_t>& costs, int64_t capacity) {
    PackProblem problem;
    problem.capacity = capacity;
    for (size_t i = 0; i < costs.size(); ++i)
        problem.items.push_back({costs[i], static_cast<uint32_t>(i)});
    return problem;
}

void ExpectWithinCapacity(const PackedBins& bins, const PackProblem& problem) {
    size_t placed = 0;
    for (size_t b = 0; b < bins.Count(); ++b) {
        EXPECT_LE(bins.Load(b), problem.capacity) << "bin " << b;
        placed += bins.Items(b).size();
    }
    EXPECT_EQ(placed, problem.items.size());
}

TEST(BinPacking, FindsPackingsThatFirstFitDecreasingMisses) {
    // First-fit decreasing needs three bins: {5,4} {3,3,3} {2}.
    const PackProblem exchange = Problem({5, 4, 3, 3, 3, 2}, 10);
    const PackedBins two = PackBins(exchange, nullptr);
    EXPECT_EQ(two.Count(), 2u);
    ExpectWithinCapacity(two, exchange);

    // Exactly three full bins; first-fit decreasing needs four.
    const PackProblem swaps = Problem({55, 49, 47, 31, 30, 22, 21, 15, 15, 15}, 100);
    const PackedBins three = PackBins(swaps, nullptr);
    EXPECT_EQ(three.Count(), 3u);
    ExpectWithinCapacity(three, swaps);
}

TEST(BinPacking, ManyItemsStayWithinOneBinOfTheirSum) {
    std::vector<int64_t> costs;
    uint64_t x = 12345;
    int64_t total = 0;
    for (int i = 0; i < 3000; ++i) {
        x = x * 6364136223846793005ULL + 1442695040888963407ULL;
        costs.push_back(1 + static_cast<int64_t>((x >> 33) % 40000));
        total += costs.back();
    }
    const PackProblem problem = Problem(costs, 1'000'000);
    const PackedBins bins = PackBins(problem, nullptr);
    ExpectWithinCapacity(bins, problem);
    EXPECT_LE(static_cast<int64_t>(bins.Count()), (total + 999'999) / 1'000'000 + 1);
}

TEST(BinPacking, SameNamesNeverMeet) {
    PackProblem collide = Problem({10, 10, 10}, 100);
    collide.items[2].rootName = collide.items[0].rootName; // another item of that name
    const PackedBins bins = PackBins(collide, nullptr);
    EXPECT_EQ(bins.Count(), 2u);
    EXPECT_NE(bins.BinOf(0), bins.BinOf(2));
}

TEST(BinPacking, ABinHeldByANameKeepsNoFullerBinFromEmptying) {
    // First-fit decreasing: {3a 1b} {2c 1a} {1c}. The last 1c clashes by name with the one
    // bin that has room for it, but the first bin's items fit the others: {2c 1a 1b} {1c 3a}.
    PackProblem clash = Problem({3, 1, 2, 1, 1}, 4);
    clash.items[3].rootName = clash.items[0].rootName;
    clash.items[4].rootName = clash.items[2].rootName;
    const PackedBins two = PackBins(clash, nullptr);
    EXPECT_EQ(two.Count(), 2u);
    ExpectWithinCapacity(two, clash);
    EXPECT_NE(two.BinOf(0), two.BinOf(3));
    EXPECT_NE(two.BinOf(2), two.BinOf(4));
}

} // namespace
} // namespace ketrilo
