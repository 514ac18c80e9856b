#include "core/workspace/Registration.h"
#include "RecordingIcons.h"
#include "TempTree.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ketrilo;
using namespace ketrilo::test;

namespace {

const std::string Emoji = "\xF0\x9F\x98\x80"; // two UTF-16 units

std::string Emojis(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += Emoji;
    }
    return text;
}

tfileproperty Item(const std::string& path, const std::string& name, int64_t clusters = 1) {
    tfileproperty item;
    item.name = name;
    item.path = path;
    item.ext = ".ignored";
    item.clustersize = clusters;
    item.fileclustersize = clusters * 2048;
    item.icon = 3;
    return item;
}

std::vector<std::string> LongNamePaths(const Workspace& ws) {
    std::vector<std::string> paths;
    for (const LongNameRow& row : ws.longNames.Rows()) {
        paths.push_back(row.FullPath());
    }
    return paths;
}

void IgnoreDuplicate(const std::string&) {}

} // namespace

TEST(AddToWell, LongNameRowFromSixtyFiveUnits) {
    const struct {
        std::string name;
        int32_t listedLength; // 0: no long-name row
    } cases[] = {
        {std::string(64, 'a'), 0}, {std::string(65, 'a'), 65},         {Emojis(32), 0},
        {Emojis(33), 66},          {std::string(63, 'a') + Emoji, 65},
    };
    for (const auto& c : cases) {
        Workspace ws;
        AddToWell(ws, Item("/d/", c.name));
        ASSERT_EQ(ws.well.Size(), 1u);
        EXPECT_EQ(ws.longNames.Size(), c.listedLength == 0 ? 0u : 1u) << c.name;
        if (c.listedLength != 0) {
            const LongNameRow& row = ws.longNames.At(0);
            EXPECT_EQ(row.name, c.name);
            EXPECT_EQ(row.length, c.listedLength);
            EXPECT_EQ(row.folder, "/d/");
            EXPECT_EQ(row.icon, 3);
        }
    }
}

TEST(AddToWell, SamePathOnceAnotherCaseIsAnotherItem) {
    Workspace ws;
    const std::string longName = std::string(70, 'x') + ".Txt";
    AddToWell(ws, Item("/d/", longName, 2));
    AddToWell(ws, Item("/d/", longName, 5));
    AddToWell(ws, Item("/D/", longName, 4));
    ASSERT_EQ(ws.well.Size(), 2u);
    const WellRow& first = ws.well.At(0);
    EXPECT_EQ(first.ext, ".Txt"); // taken from the name, not the record
    EXPECT_EQ(first.clusters, 2);
    EXPECT_EQ(first.bytes, 4096);
    EXPECT_EQ(first.icon, 3);
    EXPECT_EQ(LongNamePaths(ws), (std::vector<std::string>{"/d/" + longName, "/D/" + longName}));

    // Gone from the well, its long-name row stays and is not listed twice.
    ws.well.RemoveRows({0});
    AddToWell(ws, Item("/d/", longName));
    EXPECT_EQ(ws.well.Size(), 2u);
    EXPECT_EQ(ws.longNames.Size(), 2u);
}

TEST(RegisterFolderRows, CopiesTheListedRowsUnderTheListedFolder) {
    Workspace ws;
    const std::string longName = std::string(65, 'n');
    ws.folderList.folder = "/listed/";
    ws.folderList.rows = {
        FolderRow{"a.txt", ".txt", 6144, 3, 5, "2010/05/03", 9},
        FolderRow{longName, "", 0, 0, 65, "", 0},
        FolderRow{"b", "", 2048, 1, 1, "", 8},
    };
    RegisterFolderRows(ws, {2, 0, 0, 17});
    ASSERT_EQ(ws.well.Size(), 2u);
    EXPECT_EQ(ws.well.At(0).FullPath(), "/listed/a.txt");
    EXPECT_EQ(ws.well.At(0).clusters, 3); // figures copied, nothing measured
    EXPECT_EQ(ws.well.At(0).bytes, 6144);
    EXPECT_EQ(ws.well.At(0).icon, 9);
    EXPECT_EQ(ws.well.At(1).FullPath(), "/listed/b");

    RegisterFolderRows(ws, {0, 1});
    EXPECT_EQ(ws.well.Size(), 3u);
    EXPECT_EQ(LongNamePaths(ws), (std::vector<std::string>{"/listed/" + longName}));

    Workspace unlisted;
    unlisted.folderList.rows = ws.folderList.rows;
    RegisterFolderRows(unlisted, {0});
    EXPECT_EQ(unlisted.well.Size(), 0u);
}

TEST(DropHandling, UpperAreaAndSelfDropGuard) {
    EXPECT_TRUE(IsUpperDropArea(339, 100, 200));
    EXPECT_FALSE(IsUpperDropArea(340, 100, 200));
    EXPECT_TRUE(IsUpperDropArea(-61, -100, 0));

    Workspace ws;
    EXPECT_FALSE(TakeDraggingFromSelf(ws));
    ws.DraggingFromSelf = true;
    EXPECT_TRUE(TakeDraggingFromSelf(ws));
    EXPECT_FALSE(ws.DraggingFromSelf);
    EXPECT_FALSE(TakeDraggingFromSelf(ws));
}

TEST(DropHandling, ShowsTheFolderItselfAndIgnoresFiles) {
    TempTree tree;
    tree.Folder("shown");
    tree.File("shown/one", 1);
    const std::string file = tree.File("other.txt", 1);
    Workspace ws;
    RecordingIcons icons;
    const std::string shown = tree.Path("shown");
    EXPECT_TRUE(ListFolderAnew(ws, shown, icons).folderList.replaced);
    EXPECT_EQ(ws.folderList.folder, shown + "/");
    ASSERT_EQ(ws.folderList.rows.size(), 1u);
    EXPECT_EQ(ws.folderList.rows[0].name, "one");

    EXPECT_FALSE(ListDroppedFolder(ws, file, icons).folderList.Any());
    EXPECT_EQ(ws.folderList.folder, shown + "/");
    EXPECT_TRUE(ListDroppedFolder(ws, tree.Path("shown/"), icons).folderList.replaced);
    EXPECT_EQ(ws.folderList.folder, shown + "/");
    EXPECT_EQ(ws.folderList.rows.size(), 1u); // refilled, not appended

    EXPECT_TRUE(ListFolderAnew(ws, "", icons).folderList.replaced);
    EXPECT_TRUE(ws.folderList.rows.empty());
    EXPECT_EQ(ws.folderList.folder, "");
}

TEST(RegisterDroppedPaths, MeasuresAFolderAndListsItsLongNamesBeforeItsOwn) {
    TempTree tree;
    const std::string ownName = std::string(65, 'F');
    const std::string innerName = std::string(70, 'i') + ".dat";
    tree.Folder(ownName);
    tree.Folder(ownName + "/deep");
    tree.Folder(ownName + "/.hidden");
    tree.File(ownName + "/small", 1);
    tree.File(ownName + "/deep/" + innerName, 2049);
    tree.File(ownName + "/.hidden/skipped", 9000);
    Workspace ws;
    RecordingIcons icons;
    RegisterDroppedPaths(ws, {tree.Path(ownName) + "/"}, icons, IgnoreDuplicate);
    ASSERT_EQ(ws.well.Size(), 1u);
    const WellRow& row = ws.well.At(0);
    EXPECT_EQ(row.FullPath(), tree.Path(ownName));
    EXPECT_EQ(row.clusters, 3);
    EXPECT_EQ(row.bytes, 3 * 2048);
    EXPECT_EQ(row.icon, FolderIconIndex);
    EXPECT_EQ(
        LongNamePaths(ws),
        (std::vector<std::string>{tree.Path(ownName + "/deep/" + innerName), tree.Path(ownName)}));
}

TEST(RegisterDroppedPaths, EverythingButAVisibleFolderCountsAsAFile) {
    TempTree tree;
    const std::string file = tree.File("file.bin", 4097);
    tree.Folder(".hidden");
    tree.File(".hidden/big", 8192);
    tree.Link("link", tree.Path(".hidden"));
    Workspace ws;
    RecordingIcons icons(5);
    std::vector<std::string> duplicates;
    const std::vector<std::string> dropped = {
        file, tree.Path(".hidden"), file, tree.Path("link"), tree.Path("missing"), file};
    RegisterDroppedPaths(ws, dropped, icons,
                         [&](const std::string& path) { duplicates.push_back(path); });
    EXPECT_EQ(duplicates, (std::vector<std::string>{file, file}));
    ASSERT_EQ(ws.well.Size(), 4u);
    const int64_t expectedClusters[] = {3, 0, 0, 0};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(ws.well.At(i).clusters, expectedClusters[i]) << i;
        EXPECT_EQ(ws.well.At(i).icon, 5) << i;
    }
    EXPECT_EQ(ws.well.At(0).ext, ".bin");
    EXPECT_EQ(ws.well.At(0).path, tree.Root());
    EXPECT_EQ(icons.asked.size(), 4u);
    // A hidden folder is registered like a file but pictured as what it is.
    EXPECT_EQ(icons.kinds, (std::vector<EntryKind>{EntryKind::File, EntryKind::Folder,
                                                   EntryKind::Link, EntryKind::File}));
}
