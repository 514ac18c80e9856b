#include "core/workspace/Maintenance.h"
#include "RecordingIcons.h"
#include "TempTree.h"
#include "core/workspace/Registration.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace ketrilo;
using namespace ketrilo::test;

namespace {

void Drop(Workspace& ws, const std::vector<std::string>& paths) {
    RecordingIcons icons;
    RegisterDroppedPaths(ws, paths, icons, [](const std::string&) {});
}

} // namespace

TEST(RecalculateWell, MeasuresFoldersAgainAndLeavesEverythingElse) {
    TempTree tree;
    for (const char* folder : {"grows", "empties", "removed", "lister"}) {
        tree.Folder(folder);
    }
    tree.File("grows/a", 10);
    tree.File("empties/a", 5000);
    tree.File("removed/a", 5000);
    const std::string file = tree.File("file", 100);
    tree.File("lister/" + std::string(66, 'L'), 1); // collected at the drop
    Workspace ws;
    Drop(ws, {tree.Path("grows"), tree.Path("empties"), tree.Path("removed"), file,
              tree.Path("lister")});
    ASSERT_EQ(ws.well.Size(), 5u);
    ASSERT_EQ(ws.longNames.Size(), 1u);

    tree.File("grows/b", 4097);
    tree.File("file", 1 << 20);
    tree.File("lister/" + std::string(67, 'M'), 1);
    std::filesystem::remove(tree.Path("empties/a"));
    std::filesystem::remove_all(tree.Path("removed"));
    RecalculateWell(ws);

    // grown, emptied, removed (old figures kept), a file (never read again), grown again
    const int64_t expectedClusters[] = {4, 0, 3, 1, 2};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(ws.well.At(i).clusters, expectedClusters[i]) << ws.well.At(i).name;
        EXPECT_EQ(ws.well.At(i).bytes, expectedClusters[i] * 2048) << ws.well.At(i).name;
    }
    EXPECT_EQ(ws.longNames.Size(), 1u); // nothing collected by a recalculation
}

TEST(WellMaintenance, DeletionKeepsTheOthersInOrderAndTheLongNames) {
    Workspace ws;
    const std::string longName = std::string(80, 'z');
    for (const std::string& name :
         {std::string("a"), longName, std::string("c"), std::string("d"), std::string("e")}) {
        tfileproperty item;
        item.name = name;
        item.path = "/w/";
        AddToWell(ws, item);
    }
    EXPECT_FALSE(DeleteWellRows(ws, {}).capacity);
    EXPECT_EQ(ws.well.Size(), 5u);

    EXPECT_EQ(DeleteWellRows(ws, {4, 1, 2}).well.removed, (std::vector<size_t>{1, 2, 4}));
    ASSERT_EQ(ws.well.Size(), 2u);
    EXPECT_EQ(ws.well.At(0).name, "a");
    EXPECT_EQ(ws.well.At(1).name, "d");
    EXPECT_EQ(ws.well.WellIndexOf("/w/d"), 1);
    EXPECT_EQ(ws.longNames.Size(), 1u);

    ClearWell(ws);
    EXPECT_EQ(ws.well.Size(), 0u);
    EXPECT_EQ(ws.longNames.Size(), 0u);
    EXPECT_EQ(ws.well.WellIndexOf("/w/a"), -1);
}
