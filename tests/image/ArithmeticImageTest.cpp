// The image size worked out from the records against libisofs laying the same image out.
#include "../core/TempTree.h"
#include "core/image/ArithmeticDiscImage.h"
#include "image/IsoDiscImage.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace ketrilo {
namespace {

using test::TempTree;

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
