// The UTF-16 length of a name in any bytes, and the cut to a number of units.
#include "FuzzInput.h"
#include "core/text/NameRules.h"
#include "core/text/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const int32_t limit = data[0];
    const std::string_view name = ketrilo::fuzz::AsText(data + 1, size - 1);
    const int32_t length = ketrilo::NameLength(name);
    // Every byte counts at most one unit and every four bytes at least one.
    FUZZ_CHECK(length <= static_cast<int64_t>(name.size()));
    FUZZ_CHECK(length >= static_cast<int64_t>((name.size() + 3) / 4));
    FUZZ_CHECK(ketrilo::IsLongName(name) == !ketrilo::IsNameWithinLimit(uint32_t(length)));
    // The cut is a prefix within the limit that ends between characters, and the next
    // character would not fit.
    const std::string_view cut = ketrilo::CutToUnits(name, limit);
    FUZZ_CHECK(name.starts_with(cut));
    const int32_t cutLength = ketrilo::NameLength(cut);
    FUZZ_CHECK(cutLength <= limit);
    FUZZ_CHECK(cutLength + ketrilo::NameLength(name.substr(cut.size())) == length);
    if (cut.size() < name.size()) {
        size_t next = cut.size();
        (void)ketrilo::DecodeUtf8At(name, next);
        FUZZ_CHECK(ketrilo::NameLength(name.substr(0, next)) > limit);
    }
    return 0;
}
