// The image's size worked out from the records against libisofs's layout, to the sector and
// finding for finding, and against xorriso's figure where xorriso can take the items: on
// every tree the image tests build, and on the random trees of fixed seeds, each also after
// the changes of the well its bytes draw. `image_diff SEED` shows a seed's difference.
#include "../support/ImageDifference.h"
#include "../support/RandomImageTree.h"
#include "ImageTestTrees.h"
#include "Xorriso.h"
#include "image/IsoDiscImage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
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
        const ImageReport arithmetic = ArithmeticOverLibisofs().Measure(items, nullptr);
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

// Each entry of the tree's root as an item of its own.
std::vector<ImageItem> RootItems(const TempTree& tree, const std::vector<std::string>& names) {
    std::vector<ImageItem> items;
    for (const std::string& name : names)
        items.push_back({name, tree.Path(name)});
    return items;
}

// Folders of many records, alike names, non-ASCII and stray bytes, links, devices, deep
// and long paths beyond the Joliet limit: the two figures agree to the sector, findings too.
TEST(ArithmeticImage, EqualsLibisofsOnTreesOfEveryKindOfRecord) {
    TempTree t;
    t.Folder("many");
    for (int i = 0; i < 300; ++i)
        t.File("many/file" + std::to_string(i) + ".dat", i * 700);
    t.Folder("alike");
    for (const char* name : {"a.txt", "A.txt", "a.Txt", "a.tXt", "a.txT", "A.Txt", "A.tXt", "A.txT",
                             "a.TXt", "a.TxT", "a.tXT", "a.TXT", "a+txt", "b", "B", "b."})
        t.File(std::string("alike/") + name, 1);
    t.Folder("alike/common.dat");
    t.Folder("日本語のフォルダ");
    t.File("日本語のフォルダ/写真\xff.jpeg", 5000);
    t.Folder("links");
    t.Link("links/short", "x");
    t.Link("links/absolute", "/usr/share/doc/../lib");
    std::string deep = "deep";
    t.Folder(deep);
    for (int level = 0; level < 12; ++level) {
        deep += "/" + std::string(20 + level, static_cast<char>('a' + level));
        t.Folder(deep);
        t.File(deep + "/f.txt", 2049);
    }
    t.File("alone", 0);
    const std::vector<std::string> names = {"many",  "alike", "日本語のフォルダ",
                                            "links", "deep",  "alone"};
    auto library = std::make_shared<IsoDiscImage>();
    ArithmeticDiscImage arithmetic(library);
    for (size_t n = 0; n <= names.size(); ++n) {
        const std::vector<std::string> some(names.begin(), names.begin() + static_cast<long>(n));
        const ImageReport expected = library->Measure(RootItems(t, some), nullptr);
        const ImageReport measured = arithmetic.Measure(RootItems(t, some), nullptr);
        EXPECT_EQ(measured.sectors, expected.sectors) << n << " items";
        EXPECT_EQ(measured.findings.size(), expected.findings.size()) << n << " items";
    }
}

// Kept figures serve the next measure until forgotten; what the arithmetic cannot reach
// (an item inside another, two of one name) is the library's.
TEST(ArithmeticImage, KeepsWhatItReadUntilToldToForgetAndDefersWhereItCannotReach) {
    TempTree t;
    t.Folder("d");
    t.File("d/a", 10000);
    auto library = std::make_shared<IsoDiscImage>();
    ArithmeticDiscImage arithmetic(library);
    const std::vector<ImageItem> items = {{"d", t.Path("d")}};
    const int64_t before = arithmetic.Measure(items, nullptr).sectors;
    t.File("d/b", 100 * 2048);
    EXPECT_EQ(arithmetic.Measure(items, nullptr).sectors, before); // kept
    arithmetic.Forget();
    EXPECT_EQ(arithmetic.Measure(items, nullptr).sectors, library->Measure(items, nullptr).sectors);
    EXPECT_EQ(arithmetic.Measure(items, nullptr).sectors, before + 100);

    // A rename told reads its folder again and keeps the others: a file added elsewhere,
    // untold, stays unseen; the new name's finding is seen.
    t.Folder("d/e");
    t.File("d/e/x", 2048);
    arithmetic.Forget();
    (void)arithmetic.Measure(items, nullptr);
    t.File("d/e/y", 50 * 2048);
    const std::string longName(100, 'a');
    ASSERT_EQ(std::rename(t.Path("d/a").c_str(), t.Path("d/" + longName).c_str()), 0);
    arithmetic.ForgetEntry(t.Path("d/a"));
    const ImageReport renamed = arithmetic.Measure(items, nullptr);
    std::filesystem::remove(t.Path("d/e/y"));
    const ImageReport judged = library->Measure(items, nullptr);
    EXPECT_EQ(renamed.sectors, judged.sectors);
    EXPECT_EQ(FindingKeys(renamed), FindingKeys(judged));
    EXPECT_EQ(judged.findings.size(), 1u);

    const std::vector<std::vector<ImageItem>> unreachable = {
        {{"d", t.Path("d")}, {"a", t.Path("d/a")}},
        {{"d", t.Path("d")}, {"d", t.Path("d/a")}},
        {{"d/x", t.Path("d/a")}}};
    for (const std::vector<ImageItem>& well : unreachable)
        EXPECT_EQ(arithmetic.Measure(well, nullptr).sectors,
                  library->Measure(well, nullptr).sectors);
}

} // namespace
} // namespace ketrilo
