#include "core/CanonicalPath.h"
#include "TempTree.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace ketrilo;
using ketrilo::test::TempTree;

TEST(CanonicalPath, RemovesRepeatedSlashesDotsAndTrailingSlashes) {
    EXPECT_EQ(CanonicalPath("/"), "/");
    EXPECT_EQ(CanonicalPath("//./"), "/");
    EXPECT_EQ(CanonicalPath("/.."), "/");
    EXPECT_EQ(CanonicalPath("/../..//tmp"), "/tmp");
    EXPECT_EQ(CanonicalPath("/tmp//./x/"), "/tmp/x");
    EXPECT_EQ(CanonicalPath("/tmp/.x/..x/x."), "/tmp/.x/..x/x.");
}

TEST(CanonicalPath, GoesUpAsTheSystemDoes) {
    TempTree tree;
    tree.Folder("real");
    tree.Folder("real/sub");
    tree.File("real/x", 1);
    tree.File("file", 1);
    tree.Link("link", "real/sub");
    const std::string root = CanonicalPath(tree.Root());
    // The system's own spelling of the tree, as the link's target resolves.
    const std::string resolved = std::filesystem::canonical(tree.Root()).string();
    EXPECT_EQ(CanonicalPath(tree.Path("real/sub/../x")), root + "/real/x");
    EXPECT_EQ(CanonicalPath(tree.Path("link/./")), root + "/link"); // a link stays a link...
    EXPECT_EQ(CanonicalPath(tree.Path("link/../x")), resolved + "/real/x"); // ...unless left
    EXPECT_EQ(CanonicalPath(tree.Path("link/../../file")), resolved + "/file");
    // Where the system cannot go up, the path keeps naming nothing.
    EXPECT_EQ(CanonicalPath(tree.Path("file/../real/x")), root + "/file/../real/x");
    EXPECT_EQ(CanonicalPath(tree.Path("gone/../../file")), root + "/gone/../../file");
}
