#pragma once
// Topping up a disc: of the items not on it yet, the set whose image fills the room the
// disc has left best, never over it. Sets are searched by what each item adds to the
// image, by the image's arithmetic, and the one taken is proven with the image measure.

#include "core/base/WorkProgress.h"
#include "core/image/DiscImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ketrilo {

struct FillCandidate {
    int64_t cost = 0;  // what it adds to the image
    uint32_t name = 0; // its name at the image's root: two of one name never go together
};

struct FillChoice {
    std::vector<size_t> chosen; // positions in the candidates, ascending
    int64_t load = 0;           // their costs summed
    size_t tooLarge = 0;        // candidates costlier than the whole room
};

// Of candidates, the set with the largest load within room. Loads that come to the same
// number of grains (rounded up) are equally full; of those sets the earliest wins, as
// the lists of positions compare (one that takes an earlier candidate comes first). Exact
// while the search's visits last; never worse than taking the costliest first or the
// candidates in order while they fit. Polls progress for a cancel (WorkCancelled).
[[nodiscard]] FillChoice ChooseFill(const std::vector<FillCandidate>& candidates, int64_t room,
                                    int64_t grain, WorkProgress* progress);

struct DiscFill {
    std::vector<size_t> chosen; // positions in the candidate paths, ascending
    int64_t capacity = 0;       // sectors of the disc
    int64_t sectorsBefore = 0;  // the image of what is on the disc already
    int64_t sectorsAfter = 0;   // the image with the chosen ones added, as measured
    size_t tooLarge = 0;        // candidates larger than the room left, each alone
    // Where the image's judge measured the disc otherwise (never expected): both figures;
    // the fill holds the judge's.
    std::string disagreement;
};

// Fills the disc of capacity sectors that holds onDisc. Each candidate path (absolute)
// goes to the image's root under its own name; one that is on the disc already, one
// given before, and one whose name the disc's root holds already are never chosen. The
// chosen set's image is measured with image, and a set that would not fit is never
// taken: the result fits unless onDisc alone does not (then nothing is chosen); where
// image has a judge, the result is proven with it. What image keeps of the disk from
// before is forgotten first. Counts
// what it reads into progress and throws WorkCancelled on its request.
[[nodiscard]] DiscFill FillDisc(const std::vector<ImageItem>& onDisc,
                                const std::vector<std::string>& candidatePaths, int64_t capacity,
                                DiscImage& image, WorkProgress* progress);

} // namespace ketrilo
