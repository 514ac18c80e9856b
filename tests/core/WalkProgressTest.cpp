#include "RecordingIcons.h"
#include "TempTree.h"
#include "core/workspace/MeasureFolder.h"
#include "core/workspace/NoIcons.h"

#include <gtest/gtest.h>

namespace ketrilo {
namespace {

using test::RecordingIcons;
using test::TempTree;

TEST(WalkProgressTest, CountsWhatTheWalkAndTheListingRead) {
    TempTree tree;
    tree.File("one", 1);
    tree.Folder("sub");
    tree.File("sub/two", 2049);
    tree.File("sub/.hidden", 1);
    tree.Folder("sub/inner");

    WorkProgress measured;
    LongNameList longNames;
    NoIcons icons;
    EXPECT_EQ(MeasureFolder(tree.Root(), false, longNames, icons, &measured), 3);
    const WorkProgress::Snapshot m = measured.Read();
    EXPECT_EQ(m.files, 2);
    EXPECT_EQ(m.folders, 3);
    EXPECT_EQ(m.bytes, 3 * 2048);
    EXPECT_EQ(m.currentFolder.rfind(tree.Root(), 0), 0u) << m.currentFolder;

    WorkProgress listed;
    FolderList list;
    ListFolder(tree.Root(), list, icons, &listed);
    const WorkProgress::Snapshot l = listed.Read();
    EXPECT_EQ(l.files, 2);
    EXPECT_EQ(l.folders, 3);
    EXPECT_EQ(l.bytes, 3 * 2048);
}

TEST(WalkProgressTest, CancelEndsTheWalkAndTheListing) {
    TempTree tree;
    tree.Folder("a");
    tree.File("a/" + std::string(65, 'L'), 1);
    tree.Folder("b");
    tree.File("b/f", 1);

    WorkProgress progress;
    RecordingIcons icons;
    icons.onAsk = [&](const std::string&) {
        progress.Cancel();
    }; // mid-walk
    LongNameList longNames;
    EXPECT_THROW(MeasureFolder(tree.Root(), true, longNames, icons, &progress), WorkCancelled);

    FolderList list;
    EXPECT_THROW(ListFolder(tree.Root(), list, icons, &progress), WorkCancelled);
}

} // namespace
} // namespace ketrilo
