#pragma once
// The real drag-out through QDrag.

#include "window/seams/DragOutSeam.h"

class QtDragOut final : public DragOutSeam {
public:
    void RunCopyDrag(QWidget* source, const std::vector<std::string>& paths) override;
};
