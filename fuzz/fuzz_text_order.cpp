// The text order of the name columns on three texts: a strict weak ordering, which is
// what sorting needs (irreflexive, antisymmetric, transitive, equivalence transitive).
#include "FuzzInput.h"
#include "core/workspace/Sorting.h"

namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input = ketrilo::fuzz::AsText(data, size);
    const std::string_view a = ketrilo::fuzz::NextPart(input);
    const std::string_view b = ketrilo::fuzz::NextPart(input);
    const std::string_view c = ketrilo::fuzz::NextPart(input);
    const int ab = Sign(ketrilo::CompareText(a, b));
    const int bc = Sign(ketrilo::CompareText(b, c));
    const int ac = Sign(ketrilo::CompareText(a, c));
    FUZZ_CHECK(ketrilo::CompareText(a, a) == 0);
    FUZZ_CHECK(Sign(ketrilo::CompareText(b, a)) == -ab);
    FUZZ_CHECK(Sign(ketrilo::CompareText(c, b)) == -bc);
    FUZZ_CHECK(Sign(ketrilo::CompareText(c, a)) == -ac);
    // Whatever the order of a, b and c, the two outer relations decide the third.
    if (ab == bc)
        FUZZ_CHECK(ac == ab);
    if (ab == 0)
        FUZZ_CHECK(ac == bc);
    if (bc == 0)
        FUZZ_CHECK(ac == ab);
    return 0;
}
