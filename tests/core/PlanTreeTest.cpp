#include "core/plan/PlanTree.h"
#include "DescriptorLimit.h"
#include "TempTree.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <limits>

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

} // namespace
} // namespace ketrilo
