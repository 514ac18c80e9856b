#pragma once
// What a walk on a worker fills for the window to take once it finished: a workspace of
// its own, the icons it left to the window's thread, and the changes to show.

#include "core/workspace/Changes.h"
#include "core/workspace/Workspace.h"
#include "window/icons/DeferredIcons.h"

struct WalkResult {
    ketrilo::Workspace fresh;
    DeferredIcons icons;
    ketrilo::Changes changes;
};
