#include "core/workspace/Rename.h"
#include "RecordingIcons.h"
#include "TempTree.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace ketrilo;
using namespace ketrilo::test;

namespace {

bool Exists(const std::string& path) {
    return std::filesystem::exists(std::filesystem::symlink_status(path));
}

} // namespace

TEST(RenameOnDisk, NeverLeavesTheFolderNorReplaces) {
    TempTree tree;
    tree.File("old", 1);
    tree.File("sibling", 5);
    const std::string unsafe[] = {
        "", ".", "..", "sub/new", "../new", std::string("a\0b", 3), "sibling", "old"};
    for (const std::string& name : unsafe) {
        EXPECT_FALSE(RenameOnDisk(tree.Root(), "old", name)) << name;
    }
    EXPECT_FALSE(RenameOnDisk(tree.Root(), "missing", "new"));
    // A folder without its "/" would make the sibling "<folder>old" the entry renamed.
    tree.Folder("r");
    tree.File("rold", 2);
    EXPECT_FALSE(RenameOnDisk(tree.Path("r"), "old", "new"));
    EXPECT_TRUE(Exists(tree.Path("rold")));
    // Nor does an empty folder stand for the working folder.
    const std::filesystem::path working = std::filesystem::current_path();
    std::filesystem::current_path(tree.Root());
    EXPECT_FALSE(RenameOnDisk("", "old", "new"));
    std::filesystem::current_path(working);
    EXPECT_EQ(std::filesystem::file_size(tree.Path("old")), 1u);
    EXPECT_EQ(std::filesystem::file_size(tree.Path("sibling")), 5u);

    EXPECT_TRUE(RenameOnDisk(tree.Root(), "old", "new"));
    EXPECT_FALSE(Exists(tree.Path("old")));
    EXPECT_TRUE(Exists(tree.Path("new")));

    const std::string invalidUtf8 = "bad\xFF\xFEname";
    tree.File(invalidUtf8, 3);
    EXPECT_TRUE(RenameOnDisk(tree.Root(), invalidUtf8, "good"));
    EXPECT_EQ(std::filesystem::file_size(tree.Path("good")), 3u);
}

TEST(ApplyRename, LongNameRowGoesAtSixtyFourUnitsAndFollowsAbove) {
    const std::string oldName = std::string(70, 'o');
    const struct {
        std::string newName;
        bool kept;
    } cases[] = {{std::string(64, 'n'), false}, {std::string(65, 'n'), true}};
    for (const auto& c : cases) {
        Workspace ws;
        ws.longNames.Append(LongNameRow{"first", 66, "/d/", 0});
        ws.longNames.Append(LongNameRow{oldName, 70, "/d/", 4});
        ApplyRename(ws, 1, c.newName);
        ASSERT_EQ(ws.longNames.Size(), c.kept ? 2u : 1u);
        if (c.kept) {
            const LongNameRow& row = ws.longNames.At(1);
            EXPECT_EQ(row.FullPath(), "/d/" + c.newName);
            EXPECT_EQ(row.length, 65);
            EXPECT_EQ(row.icon, 4);
            EXPECT_TRUE(ws.longNames.LongNameListContains("/d/" + c.newName));
            EXPECT_FALSE(ws.longNames.LongNameListContains("/d/" + oldName));
        }
    }
}

TEST(ApplyRename, FolderListAndWellRowsFollowTheName) {
    const std::string oldName = std::string(70, 'o') + ".txt";
    Workspace ws;
    ws.longNames.Append(LongNameRow{oldName, 74, "/d/", 4});
    ws.folderList.folder = "/d/";
    ws.folderList.rows = {FolderRow{"other", "", 2048, 1, 5, "t", 1},
                          FolderRow{oldName, ".txt", 4096, 2, 74, "t", 4}};
    ws.well.Append(WellRow{"x", "", 0, 0, "/d/", 0});
    ws.well.Append(WellRow{oldName, ".txt", 4096, 2, "/d/", 4});

    EXPECT_EQ(FindRowByPath(ws, "/d/" + oldName, FolderListId), 1);
    EXPECT_EQ(FindRowByPath(ws, "/d/" + oldName, WellListId), 1);
    EXPECT_EQ(FindRowByPath(ws, "/d/" + oldName, 3), -1);

    ApplyRename(ws, 0, "short.md");
    const FolderRow& listed = ws.folderList.rows[1];
    EXPECT_EQ(listed.name, "short.md");
    EXPECT_EQ(listed.ext, ".md");
    EXPECT_EQ(listed.length, 8);
    EXPECT_EQ(listed.bytes, 4096);
    const WellRow& registered = ws.well.At(1);
    EXPECT_EQ(registered.name, "short.md");
    EXPECT_EQ(registered.ext, ".md");
    EXPECT_EQ(registered.clusters, 2);
    EXPECT_EQ(ws.well.WellIndexOf("/d/short.md"), 1);
    EXPECT_EQ(ws.well.WellIndexOf("/d/" + oldName), -1);

    ws.folderList.folder.clear();
    EXPECT_EQ(FindRowByPath(ws, "/d/other", FolderListId), -1);
}

TEST(ApplyRename, EntriesBeneathARenamedFolderFollowIt) {
    const std::string oldFolder = std::string(65, 'f');
    const std::string inner = std::string(65, 'i');
    Workspace ws;
    ws.longNames.Append(LongNameRow{inner, 65, "/t/" + oldFolder + "/sub/", 0});
    ws.longNames.Append(LongNameRow{oldFolder, 65, "/t/", 0});
    ws.longNames.Append(LongNameRow{inner, 65, "/t/" + oldFolder + "x/", 0});
    ws.well.Append(WellRow{"a", "", 0, 0, "/t/" + oldFolder + "/", 0});
    ws.well.Append(WellRow{oldFolder, "", 0, 0, "/t/", 0});
    ws.well.Append(WellRow{"b", "", 0, 0, "/t/" + oldFolder + "x/", 0});
    ws.folderList.folder = "/t/" + oldFolder + "/sub/";

    ApplyRename(ws, 1, "new");
    EXPECT_TRUE(ws.longNames.LongNameListContains("/t/new/sub/" + inner));
    EXPECT_TRUE(ws.longNames.LongNameListContains("/t/" + oldFolder + "x/" + inner));
    EXPECT_EQ(ws.longNames.Size(), 2u);
    EXPECT_EQ(ws.well.WellIndexOf("/t/new/a"), 0);
    EXPECT_EQ(ws.well.WellIndexOf("/t/new"), 1);
    EXPECT_EQ(ws.well.WellIndexOf("/t/" + oldFolder + "x/b"), 2);
    EXPECT_EQ(ws.well.WellIndexOf("/t/" + oldFolder + "/a"), -1);
    EXPECT_EQ(ws.folderList.folder, "/t/new/sub/");
}
