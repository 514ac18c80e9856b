#include "core/workspace/DragOut.h"

#include "core/base/KetriloError.h"
#include "core/disk/OpenByPath.h"
#include "core/text/SystemErrorText.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

namespace ketrilo {

bool DragThresholdReached(DragPoint start, DragPoint now) {
    const int64_t dx = int64_t{now.x} - start.x;
    const int64_t dy = int64_t{now.y} - start.y;
    return std::llabs(dx) >= 5 || std::llabs(dy) >= 5;
}

std::vector<std::string> DragPathList(const Well& well) {
    std::vector<std::string> paths;
    paths.reserve(well.Size());
    for (const WellRow& row : well.Rows()) {
        paths.push_back(row.FullPath());
    }
    return paths;
}

void CheckDragPaths(const std::vector<std::string>& paths) {
    struct stat entry {};
    for (const std::string& path : paths) {
        if (!StatByPath(path, entry)) {
            throw KetriloError(path + ": " + SystemErrorText(errno));
        }
    }
}

int32_t QueryContinueDrag(bool escapePressed, uint32_t keyState) {
    if (escapePressed || (keyState & MK_RBUTTON) != 0) {
        return DRAGDROP_S_CANCEL;
    }
    if ((keyState & MK_LBUTTON) == 0) {
        return DRAGDROP_S_DROP;
    }
    return S_OK_CONTINUE;
}

int32_t GiveFeedback(int32_t) {
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

void BeginDragOut(Workspace& ws) {
    ws.DraggingFromSelf = true;
}

void EndDragOut(Workspace& ws) {
    ws.DraggingFromSelf = false;
}

} // namespace ketrilo
