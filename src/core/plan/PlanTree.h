#pragma once
// The trees of the well's items as the plan sees them: every entry a burner would
// receive (hidden ones and links included), with its data sectors, the clusters the
// well counts for it, and its estimated cost in the image.

#include "core/base/WorkProgress.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ketrilo {

struct PlanNode {
    std::string name;
    std::string diskPath;
    int32_t parent = -1; // -1 for an item of the well
    bool isFolder = false;
    bool visible = true; // neither hidden nor a system entry
    // Whole sectors of file data in the tree, in bytes; a file of several names counts at
    // the first name read.
    int64_t dataBytes = 0;
    // The clusters the well shows for it as an item: a file's own; a visible folder's
    // visible files, hidden trees skipped; a hidden folder counts 0.
    int64_t wellClusters = 0;
    int64_t recordBytes = 0;        // its records in the folder that holds it
    int64_t contentBytes = 0;       // its data and, for a folder, its extents and whole tree
    std::vector<uint32_t> children; // sorted by name
};

struct PlanTree {
    std::vector<PlanNode> nodes;
    std::vector<uint32_t> roots; // one per path given, in order
};

// Reads the tree under each path (a file, a link or a folder, by its CanonicalPath; links
// are not followed; a folder already on the path to itself is not entered again; what
// cannot be read counts nothing). Counts into progress and throws WorkCancelled on its request;
// throws KetriloError for a path that names no entry of its own ("/").
[[nodiscard]] PlanTree ScanPlanTree(const std::vector<std::string>& paths, WorkProgress* progress);

// Counts the entries at diskPaths as nothing in the image, in their folders' sums too:
// the image leaves out what its library refuses.
void LeaveOutOfImage(PlanTree& tree, const std::vector<std::string>& diskPaths);

} // namespace ketrilo
