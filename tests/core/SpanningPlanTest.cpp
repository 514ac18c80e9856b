#include "core/plan/SpanningPlan.h"
#include "FilesUnder.h"
#include "ModelImage.h"
#include "TempTree.h"
#include "core/base/KetriloError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>

namespace ketrilo {
namespace {

using test::FilesUnder;
using test::ModelImage;
using test::UndercountingImage;
using test::TempTree;

constexpr int64_t Sector = 2048;

// Each disc measures within capacity, every file of the well is on exactly one disc or
// reported too large, and every item lands at its disc's root under its own name, as the
// well hands it to a burner, with no two of one name on a disc.
void ExpectSoundPlan(const SpanningPlan& plan, const std::vector<std::string>& well,
                     DiscImage& image) {
    std::vector<std::string> planned = plan.tooLarge;
    for (const PlannedDisc& disc : plan.discs) {
        EXPECT_LE(image.Measure(ImageItemsOf(disc), nullptr).sectors, plan.capacity);
        EXPECT_EQ(disc.sectors, image.Measure(ImageItemsOf(disc), nullptr).sectors);
        std::set<std::string> names;
        for (const PlannedItem& item : disc.items) {
            planned.push_back(item.diskPath);
            EXPECT_EQ(item.imagePath, std::filesystem::path(item.diskPath).filename().string());
            EXPECT_TRUE(names.insert(item.imagePath).second) << "twice: " << item.imagePath;
        }
    }
    EXPECT_EQ(FilesUnder(planned), FilesUnder(well));
}

TEST(SpanningPlan, SplitsWhatOverflowsADiscKeepsTheRestWholeAndReportsHugeFiles) {
    TempTree t;
    t.Folder("big");
    for (const char* sub : {"big/a", "big/b", "big/c"})
        t.Folder(sub);
    for (int i = 0; i < 3; ++i)
        t.File("big/a/f" + std::to_string(i), 300 * Sector);
    t.File("big/b/g", 400 * Sector);
    t.File("big/c/h1", 350 * Sector);
    t.File("big/c/h2", 350 * Sector);
    t.File("big/top", 10 * Sector);
    t.File("huge.bin", 1200 * Sector);
    t.Folder("small");
    for (int i = 0; i < 20; ++i)
        t.File("small/s" + std::to_string(i), 20 * Sector);
    const std::vector<std::string> well = {t.Path("big"), t.Path("huge.bin"), t.Path("small")};

    ModelImage image;
    const SpanningPlan plan = PlanDiscs(well, 1000, image, nullptr);
    ExpectSoundPlan(plan, well, image);
    EXPECT_EQ(plan.tooLarge, std::vector<std::string>{t.Path("huge.bin")});
    EXPECT_LE(static_cast<int64_t>(plan.discs.size()), plan.lowerBound + 1);

    std::map<std::string, std::string> items; // image path -> disk path
    for (const PlannedDisc& disc : plan.discs)
        for (const PlannedItem& item : disc.items)
            items[item.imagePath] = item.diskPath;
    EXPECT_EQ(items["a"], t.Path("big/a"));
    EXPECT_EQ(items["small"], t.Path("small")); // fits a disc: kept whole
    EXPECT_FALSE(items.contains("big"));

    const SpanningPlan again = PlanDiscs(well, 1000, image, nullptr);
    ASSERT_EQ(again.discs.size(), plan.discs.size());
    for (size_t d = 0; d < plan.discs.size(); ++d)
        for (size_t i = 0; i < plan.discs[d].items.size(); ++i)
            EXPECT_EQ(again.discs[d].items.at(i).imagePath, plan.discs[d].items[i].imagePath);
}

TEST(SpanningPlan, ProvesEachDiscWhenTheEstimateIsFarTooLow) {
    TempTree t;
    std::vector<std::string> well;
    for (int f = 0; f < 6; ++f) {
        well.push_back(t.Folder("d" + std::to_string(f)));
        well.back().pop_back();
        for (int i = 0; i < 60; ++i)
            t.File(std::string("d") + std::to_string(f) + "/n" + std::to_string(i), 2 * Sector + 1);
    }
    ModelImage image;
    image.perEntry = 3000; // ten times what a record takes
    const SpanningPlan plan = PlanDiscs(well, 600, image, nullptr);
    ExpectSoundPlan(plan, well, image);
    EXPECT_TRUE(plan.tooLarge.empty());
}

// Where the judge measures otherwise, the plan says so and holds by the judge.
TEST(SpanningPlan, EachDiscIsProvenByTheJudgeAndRepairedByIt) {
    TempTree t;
    std::vector<std::string> well;
    for (int f = 0; f < 6; ++f) {
        well.push_back(t.Folder("d" + std::to_string(f)));
        well.back().pop_back();
        for (int i = 0; i < 200; ++i)
            t.File(std::string("d") + std::to_string(f) + "/n" + std::to_string(i), 1);
    }
    UndercountingImage image;
    const SpanningPlan plan = PlanDiscs(well, 150, image, nullptr);
    EXPECT_FALSE(plan.disagreements.empty());
    ExpectSoundPlan(plan, well, image.judge);
}

// An image that charges far more per entry than the estimate can scale to, and gives up
// after more measures than any plan of a few discs needs.
class BlindImage final : public DiscImage {
public:
    ImageReport Measure(const std::vector<ImageItem>& items, WorkProgress* progress) override {
        if (++m_calls > 5000)
            throw std::runtime_error("the plan measures without end");
        return m_model.Measure(items, progress);
    }
    ModelImage m_model;

private:
    int m_calls = 0;
};

// The folder overflows a disc alone, its files fit one disc by the estimate: the folder
// is split, and must not be joined whole again.
TEST(SpanningPlan, EndsWhenTheEstimateIsBlindToWhatOverflows) {
    TempTree t;
    t.Folder("d");
    for (int i = 0; i < 60; ++i)
        t.File("d/f" + std::to_string(i), Sector);
    const std::vector<std::string> well = {t.Path("d")};
    BlindImage image;
    image.m_model.perEntry = 100000;
    const SpanningPlan plan = PlanDiscs(well, 1000, image, nullptr);
    ExpectSoundPlan(plan, well, image);
    EXPECT_TRUE(plan.tooLarge.empty());
}

TEST(SpanningPlan, ItemsOfOneNameGoOnDifferentDiscs) {
    TempTree t;
    t.Folder("one");
    t.Folder("two");
    const std::vector<std::string> well = {t.File("one/x", Sector), t.File("two/x", Sector)};
    ModelImage image;
    const SpanningPlan plan = PlanDiscs(well, 1000, image, nullptr);
    EXPECT_EQ(plan.discs.size(), 2u);
    ExpectSoundPlan(plan, well, image);
}

TEST(SpanningPlan, PartsOfOneNameFromASplitFolderGoOnDifferentDiscs) {
    TempTree t;
    t.Folder("huge2");
    for (const char* side : {"x", "y"}) {
        t.Folder("huge2/" + std::string(side));
        t.Folder("huge2/" + std::string(side) + "/sub");
        for (const char* name : {"a.bin", "b.bin", "c.bin"})
            t.File("huge2/" + std::string(side) + "/sub/" + name, 150 * Sector);
    }
    const std::vector<std::string> well = {t.Path("huge2")};
    ModelImage image;
    const SpanningPlan plan = PlanDiscs(well, 700, image, nullptr);
    ExpectSoundPlan(plan, well, image);
    EXPECT_LE(static_cast<int64_t>(plan.discs.size()), plan.lowerBound + 1);
}

TEST(SpanningPlan, ADiscThatCannotHoldEvenAnEmptyImageIsAnError) {
    ModelImage image;
    EXPECT_THROW((void)PlanDiscs({"/nonexistent"}, ModelImage::Fixed, image, nullptr),
                 KetriloError);
}

} // namespace
} // namespace ketrilo
