#include "DescriptorLimit.h"
#include "TempTree.h"
#include "cli/MeasureCommand.h"
#include "core/base/KetriloError.h"
#include "core/disk/DirectorySearch.h"
#include "core/workspace/DragOut.h"
#include "core/workspace/Maintenance.h"
#include "core/workspace/MeasureFolder.h"
#include "core/workspace/NoIcons.h"
#include "core/workspace/Registration.h"
#include "core/workspace/Rename.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <string>

namespace ketrilo {
namespace {

using test::DescriptorLimit;
using test::TempTree;

// 40 folders of 200-byte names, a file of one byte in each: the bottom folder's path is
// about 8,000 bytes, twice what the system takes in one path.
class LongPathTest : public ::testing::Test {
protected:
    static constexpr int Depth = 40;
    void SetUp() override {
        tree.Folder("top");
        tree.DeepChain("top", Depth, Name, 1);
        for (int i = 0; i < Depth - 1; ++i)
            upper += Name + "/";
        bottom = upper + Name + "/";
        ASSERT_GT(bottom.size(), 8000u);
    }
    const std::string Name = std::string(200, 'n');
    TempTree tree;
    std::string upper = tree.Path("top/"); // the folder holding the bottom folder
    std::string bottom;                    // the bottom folder, holding one file "f"
};

TEST_F(LongPathTest, MeasuredListedAndRegistered) {
    LongNameList longNames;
    NoIcons icons;
    EXPECT_EQ(MeasureFolder(upper, false, longNames, icons), 2);

    FolderList list;
    ListFolder(upper, list, icons);
    ASSERT_EQ(list.rows.size(), 2u);
    const auto folderRow = std::find_if(list.rows.begin(), list.rows.end(),
                                        [&](const FolderRow& row) { return row.name == Name; });
    ASSERT_NE(folderRow, list.rows.end());
    EXPECT_EQ(folderRow->clusters, 1);

    Workspace ws;
    RegisterDroppedPaths(ws, {upper + Name, bottom + "f"}, icons, [](const std::string&) {});
    ASSERT_EQ(ws.well.Size(), 2u);
    EXPECT_EQ(ws.well.At(0).clusters, 1);
    EXPECT_EQ(ws.well.At(0).icon, FolderIconIndex); // the folder branch
    EXPECT_EQ(ws.well.At(1).clusters, 1);

    std::ostringstream out, err;
    EXPECT_EQ(RunMeasureCommand({upper}, "/nonexistent", out, err), 0) << err.str();
    EXPECT_TRUE(out.str().starts_with("2\t4096\t")) << out.str();
}

TEST_F(LongPathTest, RecalculatedRenamedAndCheckedForTheDragOut) {
    Workspace ws;
    ws.well.Append(WellRow{Name, "", 0, 0, upper, FolderIconIndex});
    RecalculateWell(ws);
    EXPECT_EQ(ws.well.At(0).clusters, 1);

    EXPECT_TRUE(IsDirectory(bottom.substr(0, bottom.size() - 1)));
    EXPECT_EQ(DirectorySearch::Entry(bottom + "f", faAnyFile).Current().Size, 1);
    EXPECT_TRUE(RenameOnDisk(bottom, "f", "g"));
    EXPECT_EQ(DirectorySearch::Entry(bottom + "g", faAnyFile).Current().Size, 1);

    EXPECT_NO_THROW(CheckDragPaths({bottom + "g", upper + Name}));
    EXPECT_THROW(CheckDragPaths({bottom + "f"}), KetriloError);
}

// With descriptors for a few handles only, the walk gives back the ones it holds and
// finds its folders again by their names, instead of counting nothing.
TEST_F(LongPathTest, FewDescriptorsStillCountEverything) {
    const int spare = dup(0);
    ASSERT_GE(spare, 0);
    close(spare); // the lowest free descriptor: everything below it is taken
    LongNameList longNames;
    NoIcons icons;
    int64_t total = 0;
    {
        const DescriptorLimit limit(static_cast<rlim_t>(spare) + 3);
        total = MeasureFolder(tree.Path("top/"), true, longNames, icons);
    }
    EXPECT_EQ(total, Depth);
    EXPECT_EQ(longNames.Size(), static_cast<size_t>(Depth));
}

} // namespace
} // namespace ketrilo
