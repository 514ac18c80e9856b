#pragma once
// The decisions of dragging the well out of the window.

#include "core/workspace/Well.h"
#include "core/workspace/Workspace.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ketrilo {

struct DragPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// A drag starts once either axis has moved 5 pixels from the press.
[[nodiscard]] bool DragThresholdReached(DragPoint start, DragPoint now);

// Every well row's full path, in display order, duplicates kept.
[[nodiscard]] std::vector<std::string> DragPathList(const Well& well);

// Throws KetriloError with the first path that cannot be found and the system's
// description of the error (a path of any length, the links on the way followed, the
// entry itself not); nothing is dragged then.
void CheckDragPaths(const std::vector<std::string>& paths);

inline constexpr uint32_t MK_LBUTTON = 1;
inline constexpr uint32_t MK_RBUTTON = 2;
inline constexpr int32_t S_OK_CONTINUE = 0;
inline constexpr int32_t DRAGDROP_S_DROP = 0x40100;
inline constexpr int32_t DRAGDROP_S_CANCEL = 0x40101;
inline constexpr int32_t DRAGDROP_S_USEDEFAULTCURSORS = 0x40102;

// Escape cancels, then the right button cancels, then a released left button drops.
[[nodiscard]] int32_t QueryContinueDrag(bool escapePressed, uint32_t keyState);
[[nodiscard]] int32_t GiveFeedback(int32_t effect);

// DraggingFromSelf is set just before the drag loop runs, so that a drop of the drag
// onto this window is refused, and cleared when the loop ends, whatever its outcome.
void BeginDragOut(Workspace& ws);
void EndDragOut(Workspace& ws);

} // namespace ketrilo
