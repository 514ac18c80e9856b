// What libisofs refuses and what no image can hold: named, measured without it, and
// never taken for a disc that fits.
#include "ImageTestTrees.h"
#include "cli/MeasureCommand.h"
#include "cli/PlanCommand.h"
#include "core/plan/SpanningPlan.h"
#include "image/IsoDiscImage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace ketrilo {
namespace {

using test::TempTree;
using namespace test;

constexpr int64_t Sector = 2048;

// A link whose target is longer than Rock Ridge can record: the rest of the folder is
// measured, the link is a finding, and neither command gives up.
TEST(HostileImage, AnEntryLibisofsRefusesIsAFindingAndTheRestIsMeasured) {
    TempTree t;
    const std::vector<ImageItem> items = TreeWithARefusedLink(t);
    t.Folder("twin");
    t.File("twin/a", 3 * Sector);
    IsoDiscImage image;
    const ImageReport report = image.Measure(items, nullptr);
    EXPECT_EQ(report.sectors, image.Measure({{"d", t.Path("twin")}}, nullptr).sectors);
    ASSERT_EQ(report.findings.size(), 1u);
    EXPECT_EQ(report.findings[0].kind, ImageFindingKind::Refused);
    EXPECT_EQ(report.findings[0].path, t.Path("d/long"));
    EXPECT_FALSE(report.findings[0].detail.empty());

    std::ostringstream out, err;
    EXPECT_EQ(RunMeasureCommand({"--image", t.Path("d")}, "/nonexistent", out, err, &image), 0);
    EXPECT_NE(out.str().find("\ncheck\trefused\t" + t.Path("d/long") + "\n"), std::string::npos)
        << out.str();
    EXPECT_NE(err.str().find("libisofs refuses " + t.Path("d/long") + ": "), std::string::npos)
        << err.str();

    // Five hundred of them cost the plan nothing either.
    t.Folder("many");
    for (int i = 0; i < 500; ++i)
        t.Link("many/l" + std::to_string(i), "/" + std::string(962, 'x'));
    const SpanningPlan many = PlanDiscs({t.Path("many")}, 200, image, nullptr);
    EXPECT_EQ(many.refused.size(), 500u);
    EXPECT_EQ(many.discs.size(), 1u);

    std::ostringstream planOut, planErr;
    EXPECT_EQ(RunPlanCommand({t.Path("d")}, "/nonexistent", image, planOut, planErr), 1);
    EXPECT_NE(planOut.str().find("\ncheck\trefused\t" + t.Path("d/long") + "\n"), std::string::npos)
        << planOut.str();
    EXPECT_NE(planErr.str().find("libisofs refuses " + t.Path("d/long") + ": "), std::string::npos)
        << planErr.str();
}

// Sparse files past what 32 bits of sectors number (8 TiB): libisofs counts around; the
// figure must not, and such an image fits no disc.
TEST(HostileImage, AnImageOverWhatISO9660CanNumberIsCountedWholeAndNeverFits) {
    TempTree t;
    const std::vector<std::vector<ImageItem>> trees = TreesOverWhatISO9660Numbers(t);
    IsoDiscImage image;
    EXPECT_GT(image.Measure(trees[0], nullptr).sectors, MaxImageSectors);
    EXPECT_GE(image.Measure(trees[1], nullptr).sectors, 9 * (int64_t{1} << 29));

    std::ofstream(t.Path("p.ini")) << "[setting]\nItems=1\n[Item01]\nName=Vast\nCount=2147483647\n";
    std::ostringstream out, err;
    EXPECT_EQ(RunMeasureCommand({"--image", "--profile", "Vast", t.Path("nine")}, t.Path("p.ini"),
                                out, err, &image),
              1);
    EXPECT_NE(err.str().find("no burner"), std::string::npos) << err.str();
}

// Five files of nearly 2 TiB on discs of 4 TiB: two to a disc, so three discs, and the
// bound counts the whole well in 64 bits.
TEST(HostileImage, ThePlansBoundCountsPastWhatLibisofsNumbers) {
    TempTree t;
    std::vector<std::string> well;
    for (int i = 0; i < 5; ++i)
        well.push_back(t.File("f" + std::to_string(i), ((int64_t{1} << 30) - 1000) * Sector));
    IsoDiscImage image;
    const SpanningPlan plan = PlanDiscs(well, (int64_t{1} << 31) - 1, image, nullptr);
    EXPECT_GT(plan.imageSectors, MaxImageSectors);
    EXPECT_EQ(plan.lowerBound, 3);
    EXPECT_EQ(plan.discs.size(), 3u);
    EXPECT_TRUE(plan.tooLarge.empty());
}

// Long link targets and many names of one file: the plan still takes about as few discs as
// the image needs.
TEST(HostileImage, LinksToLongTargetsAndManyNamesOfOneFileTakeFewDiscs) {
    TempTree t;
    const std::string links = TreeOfLongLinks(t)[0].diskPath;
    IsoDiscImage image;
    const SpanningPlan plan = PlanDiscs({links}, 200, image, nullptr);
    EXPECT_GE(plan.lowerBound, 2);
    EXPECT_LE(static_cast<int64_t>(plan.discs.size()), plan.lowerBound + 1);

    const std::vector<ImageItem> oneFile = TreeOfManyNames(t);
    const int64_t whole = image.Measure(oneFile, nullptr).sectors;
    const SpanningPlan names = PlanDiscs({oneFile[0].diskPath}, whole + 20, image, nullptr);
    EXPECT_EQ(names.discs.size(), 1u);
}

} // namespace
} // namespace ketrilo
