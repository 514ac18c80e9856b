// Edges the plan's fuzz target found.
#include "ModelImage.h"
#include "TempTree.h"
#include "core/plan/SpanningPlan.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace ketrilo {
namespace {

constexpr int64_t Sector = 2048;

// Alone, the model image takes the fixed part, the data and one sector of records: a file
// of 14 sectors fills a disc of 45 to its last sector, one of 15 overflows it.
TEST(PlanEdge, AFileFillingADiscToItsLastSectorIsPlannedNotTooLarge) {
    test::TempTree t;
    const std::string exact = t.File("exact", 14 * Sector);
    const std::string over = t.File("over", 15 * Sector);
    test::ModelImage image;
    ASSERT_EQ(image.Measure({{"exact", exact}}, nullptr).sectors, 45);

    const SpanningPlan plan = PlanDiscs({exact, over}, 45, image, nullptr);
    ASSERT_EQ(plan.discs.size(), 1u);
    ASSERT_EQ(plan.discs[0].items.size(), 1u);
    EXPECT_EQ(plan.discs[0].items[0].diskPath, exact);
    EXPECT_EQ(plan.discs[0].sectors, 45);
    EXPECT_EQ(plan.tooLarge, std::vector<std::string>{over});
}

// The model image, like a real one, stores a link as a link: a link to a file too large
// for a disc is no file too large.
TEST(PlanEdge, ALinkToAFileTooLargeForADiscIsPlannedAndTheFileIsNot) {
    test::TempTree t;
    t.Folder("d");
    t.File("d/big", 12 * Sector + 1);
    t.File("d/a", 0);
    t.File("top", 12 * Sector + 1);
    t.Link("link", t.Path("top"));
    t.Folder("empty");
    t.File("small", 2 * Sector + 1);
    test::ModelImage image;
    const SpanningPlan plan =
        PlanDiscs({t.Path("top"), t.Path("link"), t.Path("empty"), t.Path("small"), t.Path("d")},
                  42, image, nullptr);
    EXPECT_EQ(plan.tooLarge, (std::vector<std::string>{t.Path("top"), t.Path("d/big")}));
}

// A second name of a file too large for a disc costs the plan nothing (its data counts
// at the first name), so it was packed, overflowed alone, and came back each round when
// its folder was split for packing: the plan gave up. It is too large like the first.
TEST(PlanEdge, ASecondNameOfAFileTooLargeInASplitFolderIsTooLargeToo) {
    test::TempTree t;
    const std::string big = t.File("big", 12 * Sector + 1);
    t.Folder("d");
    ASSERT_EQ(link(big.c_str(), t.Path("d/again").c_str()), 0);
    t.File("d/a", 0);
    t.Folder("a");
    t.File("small", 2 * Sector + 1);
    test::ModelImage image;
    const SpanningPlan plan =
        PlanDiscs({big, t.Path("a"), t.Path("small"), t.Path("d")}, 42, image, nullptr);
    EXPECT_EQ(plan.tooLarge, (std::vector<std::string>{big, t.Path("d/again")}));
    for (const PlannedDisc& disc : plan.discs)
        EXPECT_LE(disc.sectors, 42);
}

} // namespace
} // namespace ketrilo
