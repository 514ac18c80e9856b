// The image's size worked out from the records against libisofs's layout, on a small tree
// made on disk from the input (every kind of name, link, size and special file the image
// treats apart), then after the changes of the well the rest of the input draws: the same
// sectors and the same findings at every step, from the arithmetic that measured the steps
// before and from a fresh one. `image_diff FILE` shows what a finding's input differs in.
#include "../tests/core/TempTree.h"
#include "../tests/support/ImageDifference.h"
#include "../tests/support/RandomImageTree.h"
#include "FuzzInput.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace ketrilo::test;
    ketrilo::fuzz::Bytes in(data, size);
    TempTree tree(ScratchFolder());
    const RandomImageTree made = RandomTreeWriter(tree, in).Write();
    for (const MeasureStep& step : MeasureSteps(made, in)) {
        FUZZ_CHECK(step.kept.sectors == step.libisofs.sectors);
        FUZZ_CHECK(step.fresh.sectors == step.libisofs.sectors);
        FUZZ_CHECK(FindingKeys(step.kept) == FindingKeys(step.libisofs));
        FUZZ_CHECK(FindingKeys(step.fresh) == FindingKeys(step.libisofs));
    }
    return 0;
}
