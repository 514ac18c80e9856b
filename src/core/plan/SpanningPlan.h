#pragma once
// The well shared out over as many discs as it takes, as few as a good heuristic finds,
// each disc's exact image proven to fit.

#include "core/base/WorkProgress.h"
#include "core/image/DiscImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ketrilo {

struct PlannedItem {
    std::string imagePath; // where it lands: the disc's root, under its own name ("2019")
    std::string diskPath;
    bool isFolder = false;
    int64_t clusters = 0; // what the well counts for it
};

struct PlannedDisc {
    std::vector<PlannedItem> items;
    int64_t sectors = 0;  // its exact image
    int64_t clusters = 0; // the sum of its items' clusters
};

struct SpanningPlan {
    int64_t capacity = 0;     // sectors of each disc
    int64_t imageSectors = 0; // the image of the whole well as one disc
    int64_t lowerBound = 0;   // the planned part of that image over capacity, rounded up
    std::vector<PlannedDisc> discs;
    std::vector<std::string> tooLarge; // files that alone overflow a disc: not planned
    // Entries the image's library refuses: planned, but left out of every figure.
    std::vector<ImageFinding> refused;
    // Discs whose figure the image's judge gave otherwise (never expected): each line
    // names the disc and both figures; the plan holds the judge's.
    std::vector<std::string> disagreements;
};

[[nodiscard]] std::vector<ImageItem> ImageItemsOf(const PlannedDisc& disc);

// Plans the items at paths (the well's full paths) over discs of capacity sectors. A
// folder too large for one disc is split into its children, recursively down to files;
// parts that end on one disc are joined again. Every item and part lands at its disc's
// root under its own name, as the well hands items to a burner, so no two on a disc
// share a name. Each disc is measured with image and items are moved out until it fits;
// where image has a judge, each disc is then proven with it (and repaired by it, should it
// measure otherwise). What image keeps of the disk from before is forgotten first.
// Throws KetriloError when not even an empty disc fits or a path has no name to take
// into the image ("/"), WorkCancelled on request.
[[nodiscard]] SpanningPlan PlanDiscs(const std::vector<std::string>& paths, int64_t capacity,
                                     DiscImage& image, WorkProgress* progress);

} // namespace ketrilo
