#pragma once
// The trees of the well's items as the plan sees them: every entry a burner would
// receive (hidden ones and links included), with its data sectors, the clusters the
// well counts for it, and its cost in the image, by the image's arithmetic.

#include "core/base/WorkProgress.h"
#include "core/workspace/FolderWitness.h"

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
    // The two sum to what it adds to the image of a disc whose root holds it, by the
    // image's arithmetic, but for the rounding of the root's extents and the path tables
    // to whole sectors. Its records at the root (RootEntryBytes):
    int64_t recordBytes = 0;
    // Its data and, for a folder, its own extents in both trees, its sub-folders'
    // path-table records and all beneath them. Joliet paths are counted from its well
    // item at the root: a part placed at a disc's root has shorter ones, which may keep
    // more of it in the Joliet tree than counted here; the disc's measure sees that.
    int64_t contentBytes = 0;
    std::vector<uint32_t> children; // sorted by name
};

struct PlanTree {
    std::vector<PlanNode> nodes;
    std::vector<uint32_t> roots; // one per path given, in order
};

// Reads the tree under each path (a file, a link or a folder, by its CanonicalPath; links
// are not followed; a folder already on the path to itself is not entered again; what
// cannot be read counts only its own records). Counts into progress and throws WorkCancelled on its
// request; throws KetriloError for a path that names no entry of its own ("/").
// witness, if any, sees every folder read, as a folder of the item whose tree holds it.
[[nodiscard]] PlanTree ScanPlanTree(const std::vector<std::string>& paths, WorkProgress* progress,
                                    FolderWitness* witness = nullptr);

// Counts the entries at diskPaths as nothing in the image, in their folders' sums too:
// the image leaves out what its library refuses.
void LeaveOutOfImage(PlanTree& tree, const std::vector<std::string>& diskPaths);

} // namespace ketrilo
