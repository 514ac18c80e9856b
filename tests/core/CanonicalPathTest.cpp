#include "core/disk/CanonicalPath.h"
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
    EXPECT_EQ(CanonicalPath(tree.Path("link")), root + "/link"); // a link stays a link...
    EXPECT_EQ(CanonicalPath(tree.Path("link/../x")), resolved + "/real/x"); // ...unless left
    EXPECT_EQ(CanonicalPath(tree.Path("link/../../file")), resolved + "/file");
    // Where the system cannot go up, the path keeps naming nothing.
    EXPECT_EQ(CanonicalPath(tree.Path("file/../real/x")), root + "/file/../real/x");
    EXPECT_EQ(CanonicalPath(tree.Path("gone/../../file")), root + "/gone/../../file");
}

TEST(CanonicalPath, ALinkThatEndsAPathIsFollowedWhereTheSystemGoesThroughIt) {
    TempTree tree;
    tree.Folder("real");
    tree.Folder("real/sub");
    tree.Link("link", "real/sub");
    tree.Link("chain", "link");
    tree.Link("absolute", tree.Path("real"));
    tree.Link("dangling", "nowhere");
    tree.Link("loop", "loop");
    const std::string root = CanonicalPath(tree.Root());
    const std::string target = root + "/real/sub";
    for (const char* spelling : {"link/", "link/.", "link//./", "chain/", "real/sub/../sub/."})
        EXPECT_EQ(CanonicalPath(tree.Path(spelling)), target) << spelling;
    EXPECT_EQ(CanonicalPath(tree.Path("link/x")), root + "/link/x"); // on the way: kept
    EXPECT_EQ(CanonicalPath(tree.Path("chain")), root + "/chain");
    EXPECT_EQ(CanonicalPath(tree.Path("absolute/sub/..")), root + "/real");
    EXPECT_EQ(CanonicalPath(tree.Path("dangling/")), root + "/nowhere"); // names nothing
    // A loop stays as written: the system's own lookup then reports it.
    EXPECT_EQ(CanonicalPath(tree.Path("loop/")), root + "/loop/.");
    EXPECT_EQ(CanonicalPath(tree.Path("loop/../x")), root + "/loop/../x");
    // The system would stop reading at a NUL and reach the link: such a path names nothing.
    const std::string withNul = tree.Path("link") + std::string(1, '\0') + "x/.";
    EXPECT_EQ(CanonicalPath(withNul), withNul.substr(0, withNul.size() - 2));
    for (const char* spelling : {"link/", "loop/", "loop/../x", "absolute/sub/.."})
        EXPECT_EQ(CanonicalPath(CanonicalPath(tree.Path(spelling))),
                  CanonicalPath(tree.Path(spelling)));
}
