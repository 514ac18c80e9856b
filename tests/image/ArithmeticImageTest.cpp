// The image's size worked out from the records against libisofs's layout, to the sector and
// finding for finding, and against xorriso's figure where xorriso can take the items: on
// every tree the image tests build, and on the random trees of fixed seeds, each also after
// the changes of the well its bytes draw. `image_diff SEED` shows a seed's difference.
#include "../support/ImageDifference.h"
#include "../support/RandomImageTree.h"
#include "ImageTestTrees.h"
#include "Xorriso.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace ketrilo {
namespace {

using namespace test;

TEST(ArithmeticImage, EqualsLibisofsOnTheImageTestsTrees) {
    TempTree tree;
    std::vector<std::vector<ImageItem>> cases = GeneratedTrees(tree);
    cases.push_back(ItemsAtLongPaths(tree));
    cases.push_back(TreeOfFindings(tree));
    cases.push_back(TreeOfJolietPaths(tree));
    cases.push_back(TreeOfBoundaries(tree));
    cases.push_back(TreeWithARefusedLink(tree));
    cases.push_back(TreeOfLongLinks(tree));
    cases.push_back(TreeOfManyNames(tree));
    for (std::vector<ImageItem>& over : TreesOverWhatISO9660Numbers(tree))
        cases.push_back(std::move(over));
    for (const std::vector<ImageItem>& items : cases) {
        const std::string what = items.front().diskPath + " +" + std::to_string(items.size() - 1);
        const ImageReport libisofs = IsoDiscImage().Measure(items, nullptr);
        const ImageReport arithmetic = ArithmeticDiscImage().Measure(items, nullptr);
        EXPECT_EQ(arithmetic.sectors, libisofs.sectors) << what;
        EXPECT_EQ(FindingKeys(arithmetic), FindingKeys(libisofs)) << what;
    }
}

// Seed 26 draws a family of over a thousand names of one prefix.
TEST(ArithmeticImage, EqualsLibisofsAndXorrisoOnRandomTrees) {
    for (uint64_t seed = 1; seed <= 26; ++seed) {
        TempTree tree;
        const std::vector<uint8_t> bytes = SeedBytes(seed);
        fuzz::Bytes in(bytes.data(), bytes.size());
        const RandomImageTree made = RandomTreeWriter(tree, in).Write();
        for (const MeasureStep& step : MeasureSteps(made, in)) {
            const std::string what = "seed " + std::to_string(seed) + ", " + step.change;
            EXPECT_EQ(step.kept.sectors, step.libisofs.sectors) << what;
            EXPECT_EQ(step.fresh.sectors, step.libisofs.sectors) << what;
            EXPECT_EQ(FindingKeys(step.kept), FindingKeys(step.libisofs)) << what;
            EXPECT_EQ(FindingKeys(step.fresh), FindingKeys(step.libisofs)) << what;
            const int64_t xorriso = XorrisoSectors(step.items);
            if (xorriso > 0) {
                EXPECT_EQ(step.libisofs.sectors, xorriso) << what;
            }
        }
    }
}

} // namespace
} // namespace ketrilo
