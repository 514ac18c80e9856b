#include "core/plan/PlanTree.h"
#include "DescriptorLimit.h"
#include "TempTree.h"
#include "core/image/ArithmeticDiscImage.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <limits>
#include <memory>

namespace ketrilo {
namespace {

using test::TempTree;

constexpr int64_t Sector = 2048;
constexpr int64_t Largest = std::numeric_limits<int64_t>::max();

// 40 folders of 200-byte names, a one-byte file in each: the lower half lies past what
// the system takes in one path, and must count all the same.
TEST(PlanTree, ReadsFoldersPastTheSystemPathLimit) {
    TempTree t;
    t.Folder("top");
    t.DeepChain("top", 40, std::string(200, 'n'), 1);
    const PlanTree tree = ScanPlanTree({t.Path("top")}, nullptr);
    ASSERT_EQ(tree.roots.size(), 1u);
    EXPECT_EQ(tree.nodes.size(), 1u + 2 * 40);
    const PlanNode& top = tree.nodes[tree.roots[0]];
    EXPECT_EQ(top.dataBytes, 40 * Sector);
    EXPECT_EQ(top.wellClusters, 40);
    EXPECT_GT(top.contentBytes, top.dataBytes);
}

// A tree far deeper than the handles a process may hold is read whole: one folder's
// handle at a time.
TEST(PlanTree, ReadsADeepTreeWithFewHandles) {
    TempTree t;
    t.Folder("top");
    constexpr int Depth = 600;
    t.DeepChain("top", Depth, "d", 1);
    PlanTree tree;
    {
        const test::DescriptorLimit limit(64);
        tree = ScanPlanTree({t.Path("top")}, nullptr);
    }
    EXPECT_EQ(tree.nodes.size(), 1u + 2 * Depth);
    EXPECT_EQ(tree.nodes[tree.roots.at(0)].dataBytes, Depth * Sector);
}

// Sparse files of any size a file system allows (tmpfs takes the largest): every sum
// stays at the largest value instead of wrapping, and a file of several names counts its
// data once, as the image holds it.
TEST(PlanTree, SumsOfHugeSparseFilesSaturateAndLinkedDataCountsOnce) {
    if (access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "no /dev/shm to hold the sparse files";
    TempTree t("/dev/shm");
    constexpr int64_t Quarter = int64_t{1} << 62;
    t.Folder("one");
    t.File("one/largest", Largest);
    t.Folder("three");
    for (const char* name : {"three/a", "three/b", "three/c"})
        t.File(name, Quarter);
    t.Folder("links");
    const std::string first = t.File("links/a", Quarter);
    ASSERT_EQ(::link(first.c_str(), t.Path("links/b").c_str()), 0);
    ASSERT_EQ(::link(first.c_str(), t.Path("links/c").c_str()), 0);

    const PlanTree tree = ScanPlanTree({t.Path("one"), t.Path("three"), t.Path("links")}, nullptr);
    ASSERT_EQ(tree.roots.size(), 3u);
    for (uint32_t root : {tree.roots[0], tree.roots[1]}) {
        const PlanNode& node = tree.nodes[root];
        SCOPED_TRACE(node.name);
        EXPECT_EQ(node.dataBytes, Largest);
        EXPECT_EQ(node.contentBytes, Largest);
        EXPECT_GT(node.wellClusters, 0);
    }
    const PlanNode& links = tree.nodes[tree.roots[2]];
    EXPECT_EQ(links.dataBytes, Quarter);
    EXPECT_GT(links.contentBytes, Quarter);
    EXPECT_EQ(links.wellClusters, 3 * (Quarter / Sector)); // as the well counts each name
}

// The library behind the arithmetic, which none of these trees needs.
class NoLibrary final : public DiscImage {
public:
    ImageReport Measure(const std::vector<ImageItem>&, WorkProgress*) override {
        ++calls;
        return {};
    }
    int calls = 0;
};

// A well item costs what it adds to a disc's image by the image's arithmetic, but for
// the rounding of what the items share. Beside a ballast item (so that the image is past
// its least size) the item's own records fit the root's first sector in each tree, so it
// adds its content alone, but for the path tables: each twice and whole sectors, they
// round by under two sectors either way per tree.
TEST(PlanTree, AnItemCostsWhatItAddsToTheImage) {
    TempTree t;
    t.Folder("ballast");
    for (int i = 0; i < 120; ++i)
        t.File("ballast/b" + std::to_string(i), 1);
    // Names the image cuts, upper-cases, numbers apart, writes in UCS-2 or not at all.
    const std::vector<std::string> names = {"a.txt",
                                            "A.TXT",
                                            "a.Txt",
                                            "日本語のファイル名.jpg",
                                            "Ümlaut é.doc",
                                            "archive.tar.gz",
                                            ".hidden",
                                            "no_extension",
                                            "many.dots.in.name.txt",
                                            "odd;char?.txt",
                                            std::string(100, 'x') + ".dat",
                                            "photo_with_a_rather_long_name_0001.jpeg"};
    t.Folder("mixed");
    for (int f = 0; f < 30; ++f) {
        const std::string folder = "mixed/folder " + std::to_string(f);
        t.Folder(folder);
        for (int i = 0; i <= f; ++i)
            t.File(folder + "/" + names[static_cast<size_t>(i) % names.size()] +
                       (i < static_cast<int>(names.size()) ? "" : std::to_string(i)),
                   i * 1000);
    }
    t.Link("mixed/up", "../folder 3/a.txt");
    t.Link("mixed/absolute", "/usr/share/doc");
    t.Link("mixed/dots", "./x/../y/");
    t.Link("mixed/dangling", "nowhere/at/all");
    t.File("mixed/one", 5000);
    t.HardLink("mixed/two", "mixed/one");
    t.Fifo("mixed/fifo");
    // Past the Joliet path limit at the second level: out of that tree with all beneath.
    std::string deep = "mixed";
    for (int level = 0; level < 4; ++level) {
        deep.append("/").append(60, static_cast<char>('a' + level));
        t.Folder(deep);
        t.File(deep + "/file.txt", 10);
    }
    t.Folder("big");
    for (int i = 0; i < 1500; ++i)
        t.File("big/photo_" + std::to_string(i) + std::string(static_cast<size_t>(i % 40), 'q') +
                   ".jpg",
               i % 7);
    t.File("huge.iso", int64_t{5} << 30); // two extents, two records in each tree
    t.Link("toplink", "mixed/folder 1");

    const std::vector<std::string> items = {t.Path("mixed"), t.Path("big"), t.Path("huge.iso"),
                                            t.Path("toplink")};
    const PlanTree tree = ScanPlanTree(items, nullptr);
    auto library = std::make_shared<NoLibrary>();
    ArithmeticDiscImage image(library);
    const ImageItem ballast{"ballast", t.Path("ballast")};
    const int64_t without = image.Measure({ballast}, nullptr).sectors;
    for (uint32_t root : tree.roots) {
        const PlanNode& node = tree.nodes[root];
        SCOPED_TRACE(node.name);
        const int64_t added =
            image.Measure({ballast, {node.name, node.diskPath}}, nullptr).sectors - without;
        EXPECT_GT(node.recordBytes, 0);
        EXPECT_LT(std::abs(added * Sector - node.contentBytes), 4 * Sector)
            << "added " << added << " sectors, content " << node.contentBytes << " bytes";
    }
    EXPECT_EQ(library->calls, 0);
}

} // namespace
} // namespace ketrilo
