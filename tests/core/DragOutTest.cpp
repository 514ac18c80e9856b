#include "core/workspace/DragOut.h"
#include "RecordingIcons.h"
#include "TempTree.h"
#include "core/base/KetriloError.h"
#include "core/workspace/WorkspaceCommands.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace ketrilo;
using namespace ketrilo::test;

TEST(DragOut, StartsAtFivePixelsOnEitherAxis) {
    const struct {
        DragPoint now;
        bool starts;
    } cases[] = {{{14, 14}, false}, {{15, 10}, true}, {{10, 5}, true},
                 {{6, 6}, false},   {{5, 14}, true},  {{10, 10}, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(DragThresholdReached({10, 10}, c.now), c.starts) << c.now.x << "," << c.now.y;
    }
}

TEST(DragOut, DropSourceAnswers) {
    const struct {
        bool escape;
        uint32_t keys;
        int32_t answer;
    } cases[] = {
        {true, MK_LBUTTON, DRAGDROP_S_CANCEL},
        {false, MK_LBUTTON | MK_RBUTTON, DRAGDROP_S_CANCEL},
        {false, MK_RBUTTON, DRAGDROP_S_CANCEL}, // left released with the right held
        {false, 0, DRAGDROP_S_DROP},
        {false, 16, DRAGDROP_S_DROP}, // the middle button plays no part
        {false, MK_LBUTTON, S_OK_CONTINUE},
        {false, MK_LBUTTON | 4 | 8 | 16, S_OK_CONTINUE},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QueryContinueDrag(c.escape, c.keys), c.answer) << c.escape << " " << c.keys;
    }
    EXPECT_EQ(GiveFeedback(1), DRAGDROP_S_USEDEFAULTCURSORS);
}

TEST(DragOut, PathsInDisplayOrderAndTheFirstMissingOneFails) {
    TempTree tree;
    const std::string file = tree.File("b", 1);
    Workspace ws;
    ws.well.Append(WellRow{"b", "", 0, 9, tree.Root(), 0});
    ws.well.Append(WellRow{"x", "", 0, 1, file + "/", 0}); // beneath a file
    ws.well.Append(WellRow{"gone", "", 0, 5, tree.Root(), 0});
    SortWellByColumn(ws, 3);
    const std::vector<std::string> paths = DragPathList(ws.well);
    EXPECT_EQ(paths, (std::vector<std::string>{file + "/x", tree.Path("gone"), file}));
    try {
        CheckDragPaths(paths);
        FAIL() << "a missing path must fail the drag";
    } catch (const KetriloError& error) {
        // One language in the message: the reason in the window's, not the system's English.
        EXPECT_EQ(error.what(), file + "/x: 途中の名前がフォルダではありません");
    }
    EXPECT_NO_THROW(CheckDragPaths({file, tree.Root()}));

    BeginDragOut(ws);
    EXPECT_TRUE(ws.DraggingFromSelf);
    EndDragOut(ws);
    EXPECT_FALSE(ws.DraggingFromSelf);
}
