#include "core/disk/DirectorySearch.h"
#include "TempTree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace ketrilo {
namespace {

using test::TempTree;

// name, attributes, size
using Seen = std::tuple<std::string, uint32_t, int64_t>;

std::vector<Seen> SeenIn(const std::string& folder, uint32_t mask) {
    std::vector<Seen> seen;
    for (DirectorySearch s = DirectorySearch::Folder(folder, mask); s.Found(); s.Next())
        seen.emplace_back(s.Current().Name, s.Current().Attr, s.Current().Size);
    std::sort(seen.begin(), seen.end());
    return seen;
}

class DirectorySearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        tree.File("file", 3);
        tree.File(".hidden", 5);
        tree.Folder("sub");
        tree.Folder(".hiddendir");
        tree.File(".hiddendir/inside", 1);
        tree.Fifo("fifo");
        tree.Link("link", "file");
        tree.Link("dirlink", "sub");
    }
    TempTree tree;
};

TEST_F(DirectorySearchTest, FolderMaskDecidesWhichKindsAreSeen) {
    EXPECT_EQ(SeenIn(tree.Root(), faDirectory),
              (std::vector<Seen>{
                  {"dirlink", 0, 0}, {"file", 0, 3}, {"link", 0, 0}, {"sub", faDirectory, 0}}));
    EXPECT_EQ(SeenIn(tree.Root(), 0),
              (std::vector<Seen>{{"dirlink", 0, 0}, {"file", 0, 3}, {"link", 0, 0}}));
    EXPECT_EQ(SeenIn(tree.Root(), faAnyFile),
              (std::vector<Seen>{{".hidden", faHidden, 5},
                                 {".hiddendir", faHidden | faDirectory, 0},
                                 {"dirlink", 0, 0},
                                 {"fifo", faSysFile, 0},
                                 {"file", 0, 3},
                                 {"link", 0, 0},
                                 {"sub", faDirectory, 0}}));
}

// The whole-folder search reads on several threads once a folder is large: it must find
// what the one-entry-at-a-time search finds, in the same order, under every mask.
TEST_F(DirectorySearchTest, WholeFolderSearchMatchesTheSearchInOrder) {
    for (int i = 0; i < 12000; ++i) {
        const std::string name = std::to_string(i);
        if (i % 1000 == 0)
            tree.Folder("d" + name);
        else
            tree.File((i % 7 == 0 ? "." : "f") + name, i % 3);
    }
    for (uint32_t mask : {faDirectory, 0u, faAnyFile}) {
        std::vector<TSearchRec> expected;
        for (DirectorySearch s = DirectorySearch::Folder(tree.Root(), mask); s.Found(); s.Next())
            expected.push_back(s.Current());
        const std::vector<TSearchRec> whole = SearchWholeFolder(tree.Root(), mask);
        ASSERT_EQ(whole.size(), expected.size()) << mask;
        for (size_t i = 0; i < whole.size(); ++i) {
            ASSERT_EQ(whole[i].Name, expected[i].Name) << i;
            EXPECT_EQ(whole[i].Attr, expected[i].Attr) << whole[i].Name;
            EXPECT_EQ(whole[i].Size, expected[i].Size) << whole[i].Name;
            EXPECT_EQ(whole[i].Kind, expected[i].Kind) << whole[i].Name;
        }
    }
    EXPECT_TRUE(SearchWholeFolder(tree.Path("missing/"), faAnyFile).empty());
}

TEST_F(DirectorySearchTest, FolderThatCannotBeReadFindsNothing) {
    for (const std::string& folder : {tree.Path("missing/"), tree.Path("file/"), std::string()}) {
        DirectorySearch search = DirectorySearch::Folder(folder, faAnyFile);
        EXPECT_FALSE(search.Found()) << folder;
        EXPECT_FALSE(search.Next()) << folder;
    }
    EXPECT_TRUE(SeenIn(tree.Path("sub/"), faAnyFile).empty());
}

TEST_F(DirectorySearchTest, EntryKindsAndSizes) {
    using K = EntryKind;
    struct Case {
        std::string path;
        bool isDirectory;
        int64_t size;
        EntryKind kind; // Gone: no entry found
    };
    const std::vector<Case> cases = {
        {tree.Path("sub"), true, 0, K::Folder},
        {tree.Path("file"), false, 3, K::File},
        {tree.Path(".hidden"), false, 5, K::File}, // hidden, still measured
        {tree.Path(".hiddendir"), false, 0, K::Folder},
        {tree.Path("link"), false, 0, K::Link},
        {tree.Path("dirlink"), false, 0, K::Link}, // a link to a folder is not a folder
        {tree.Path("fifo"), false, 0, K::System},
        {tree.Path("sub/"), false, 0, K::Gone}, // a trailing "/" names no entry
        {tree.Path("file/"), false, 0, K::Gone},
        {tree.Path("missing"), false, 0, K::Gone},
        {"/", false, 0, K::Gone},
        {"", false, 0, K::Gone},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsDirectory(c.path), c.isDirectory) << c.path;
        const DirectorySearch entry = DirectorySearch::Entry(c.path, faAnyFile);
        EXPECT_EQ(entry.Found() ? entry.Current().Size : 0, c.size) << c.path;
        EXPECT_EQ(entry.Found() ? entry.Current().Kind : K::Gone, c.kind) << c.path;
        EXPECT_EQ(entry.Found() && IsVisibleFolder(entry.Current()), c.isDirectory) << c.path;
    }
}

TEST_F(DirectorySearchTest, EntryReportsNameAndLastWriteTime) {
    const timespec times[2] = {{1273000000, 0}, {1273021507, 999999999}};
    ASSERT_EQ(utimensat(AT_FDCWD, tree.Path("file").c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
    const DirectorySearch search = DirectorySearch::Entry(tree.Path("file"), faDirectory);
    ASSERT_TRUE(search.Found());
    EXPECT_EQ(search.Current().Name, "file");
    EXPECT_EQ(search.Current().Time, 1273021507);
    EXPECT_FALSE(DirectorySearch::Entry(tree.Path(".hidden"), faDirectory).Found());
    EXPECT_TRUE(DirectorySearch::Entry(tree.Path(".hidden"), faHidden).Found());
}

} // namespace
} // namespace ketrilo
