// The image's size worked out from the records against libisofs's layout, to the sector and
// finding for finding, and against xorriso's figure where xorriso can take the items: on
// every tree the image tests build, and on the random trees of fixed seeds, each also after
// the changes of the well its bytes draw. `image_diff SEED` shows a seed's difference.
#include "../support/ImageDifference.h"
#include "../support/RandomImageTree.h"
#include "ImageTestTrees.h"
#include "Xorriso.h"
#include "core/workspace/MeasureFolder.h"
#include "core/workspace/NoIcons.h"
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

// Seeds 6 and 10 draw a family of over a thousand names of one prefix. 24 of the 26 trees
// have names or link targets of 120 bytes or more, whose Rock Ridge fields mostly go on
// in a continuation area: five a folder of 13 or more of them, four a root of 8 or more.
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

// A measure the arithmetic must not defer to.
class NoLibrary final : public DiscImage {
public:
    ImageReport Measure(const std::vector<ImageItem>& items, WorkProgress*) override {
        ADD_FAILURE() << "the library measured " << items.front().diskPath;
        return {};
    }
};

// A name of that many bytes, told apart by its first ones.
std::string LongName(int i, size_t bytes) {
    const std::string start = std::to_string(i) + "-";
    return start + std::string(bytes - start.size(), 'n');
}

// Rock Ridge fields beyond their records, in continuation areas of one to three sectors on
// either side of where one more entry starts a sector (a folder's first sector holds 12
// names of 250 bytes or 7 links to 255-byte targets, its second 11 or 6; the root's 11
// names after its ER, then 12), Japanese names of 40 to 85 characters, targets whose SL splits
// into several fields, each record of a file over 4 GiB: the arithmetic alone measures
// them as libisofs does, beside twenty empty folders that take the image past its least
// 33 sectors.
TEST(ArithmeticImage, CountsContinuationAreasAsLibisofsDoes) {
    TempTree t;
    t.Folder("pad");
    for (int i = 0; i < 20; ++i)
        t.Folder("pad/" + std::to_string(i));
    const ImageItem pad = {"pad", t.Path("pad")};
    std::vector<std::vector<ImageItem>> wells;
    const auto folderOf = [&](const std::string& folder, int count, auto make) {
        t.Folder(folder);
        for (int i = 0; i < count; ++i)
            make(folder + "/", i);
        wells.push_back({{folder, t.Path(folder)}, pad});
    };
    for (const int count : {11, 12, 13, 23, 24})
        folderOf("names" + std::to_string(count), count,
                 [&t](const std::string& in, int i) { t.File(in + LongName(i, 250), 1); });
    for (const int count : {6, 7, 8, 13, 14})
        folderOf("links" + std::to_string(count), count, [&t](const std::string& in, int i) {
            t.Link(in + std::to_string(i), std::string(255, 't'));
        });
    // A link whose fields fill its record to the byte, and one whose name is a byte longer.
    for (const size_t bytes : {78, 79})
        folderOf("edge" + std::to_string(bytes), 1, [&t, bytes](const std::string& in, int) {
            t.Link(in + std::string(bytes, 'l'), std::string(36, 't'));
        });
    const std::vector<std::string> targets = {
        "/" + std::string(200, 'a') + "/" + std::string(255, 'b'),
        std::string(249, 'c') + "/" + std::string(249, 'd') + "/..",
        std::string(100, 'e') + "/" + std::string(140, 'f') + "/" + std::string(251, 'g'),
        "./" + std::string(120, 'h') + "/" + std::string(120, 'i') + "/" + std::string(120, 'j')};
    folderOf("mixed", 46, [&](const std::string& in, int i) {
        std::string japanese = std::to_string(i % 10); // then 39 to 84 characters of 3 bytes
        for (int c = 1; c < 40 + i; ++c)
            japanese += c % 3 == 0 ? "ー" : "写";
        t.File(in + japanese, 1);
        t.Link(in + LongName(i, 100 + 3 * i), targets[static_cast<size_t>(i) % targets.size()]);
    });
    t.File("mixed/" + LongName(99, 240), (int64_t{1} << 33) + 1);
    for (const int count : {10, 11, 12, 23, 24}) {
        const std::string folder = "root" + std::to_string(count);
        t.Folder(folder);
        std::vector<ImageItem> items = {pad};
        for (int i = 0; i < count; ++i) {
            const std::string name = LongName(i, 250);
            items.push_back({name, t.File(folder + "/" + name, 1)});
        }
        wells.push_back(items);
    }
    ArithmeticDiscImage arithmetic(std::make_shared<NoLibrary>());
    for (const std::vector<ImageItem>& well : wells) {
        EXPECT_EQ(arithmetic.Measure(well, nullptr).sectors,
                  IsoDiscImage().Measure(well, nullptr).sectors)
            << well.front().diskPath << " +" << well.size() - 1;
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

// A walk's records stand for the tree: a file added after the walk, untold, stays unseen,
// while what the walk skipped (a hidden folder) is read by the measure itself.
TEST(ArithmeticImage, TakesTheRecordsAWalkHandsOver) {
    TempTree t;
    t.Folder("w");
    t.Folder("w/sub");
    t.File("w/sub/a.txt", 5000);
    t.File("w/.hidden", 3 * 2048);
    t.Folder("w/.git");
    t.Link("w/link", std::string(200, 'x'));
    const std::vector<ImageItem> items = {{"w", t.Path("w")}};
    auto library = std::make_shared<IsoDiscImage>();
    ArithmeticDiscImage arithmetic(library);
    LongNameList longNames;
    NoIcons icons;
    (void)MeasureFolder(t.Path("w/"), false, longNames, icons, nullptr,
                        WalkOptions{.witness = &arithmetic});
    t.File("w/.git/objects", 7 * 2048);
    const ImageReport expected = library->Measure(items, nullptr);
    t.File("w/sub/late.txt", 40 * 2048);
    EXPECT_EQ(arithmetic.Measure(items, nullptr).sectors, expected.sectors);
}

} // namespace
} // namespace ketrilo
