// The fill over any candidates: the chosen ones are distinct positions in order, their
// costs add up to the load, the load stays within the room, no two share a name, the
// candidates costlier than the room are counted, and the same input gives the same set.
#include "FuzzInput.h"
#include "core/plan/FillSearch.h"

#include <algorithm>
#include <cstdint>
#include <set>

namespace {

constexpr size_t HeaderBytes = 4;
constexpr size_t CandidateBytes = 3;
// Enough for the searches to run out of their visits on some inputs.
constexpr size_t MaxCandidates = 40;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ketrilo::fuzz::Bytes in(data, size);
    const int64_t room = in.Next16();
    const int64_t grain = 1 + in.Next() % 64;
    const uint32_t names = 1 + in.Next();
    const size_t count =
        std::min(MaxCandidates, size > HeaderBytes ? (size - HeaderBytes) / CandidateBytes : 0);
    std::vector<ketrilo::FillCandidate> candidates;
    for (size_t i = 0; i < count; ++i)
        candidates.push_back({in.Next16(), in.Next() % names});

    const ketrilo::FillChoice choice = ketrilo::ChooseFill(candidates, room, grain, nullptr);
    int64_t load = 0;
    std::set<uint32_t> used;
    for (size_t k = 0; k < choice.chosen.size(); ++k) {
        const size_t i = choice.chosen[k];
        FUZZ_CHECK(i < candidates.size());
        FUZZ_CHECK(k == 0 || choice.chosen[k - 1] < i);
        FUZZ_CHECK(used.insert(candidates[i].name).second);
        load += candidates[i].cost;
    }
    FUZZ_CHECK(load == choice.load && load <= room);
    FUZZ_CHECK(choice.tooLarge ==
               static_cast<size_t>(std::count_if(
                   candidates.begin(), candidates.end(),
                   [room](const ketrilo::FillCandidate& c) { return c.cost > room; })));
    FUZZ_CHECK(ketrilo::ChooseFill(candidates, room, grain, nullptr).chosen == choice.chosen);
    return 0;
}
