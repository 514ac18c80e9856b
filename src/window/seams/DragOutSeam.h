#pragma once
// The drag-out's seam: hands the well to other programs.

#include <string>
#include <vector>

class QWidget;

// A modal, copy-only drag of the given full paths (the file system's bytes, as local
// file URLs) started from source. Tests replace it with a recorder.
class DragOutSeam {
public:
    virtual ~DragOutSeam() = default;
    virtual void RunCopyDrag(QWidget* source, const std::vector<std::string>& paths) = 0;
};
