// The integer conversion of profile texts: both forms agree, and a decimal text that
// converts means the number it spells.
#include "FuzzInput.h"
#include "core/base/KetriloError.h"
#include "core/text/Numbers.h"

#include <charconv>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = ketrilo::fuzz::AsText(data, size);
    int32_t value = 0;
    const bool converts = ketrilo::TryConvertToInt32(text, value);
    try {
        FUZZ_CHECK(ketrilo::ConvertToInt32(text) == value && converts);
    } catch (const ketrilo::KetriloError&) {
        FUZZ_CHECK(!converts);
    }
    // Blanks, a sign and decimal digits only: the plain decimal reading decides.
    std::string_view digits = text.substr(std::min(text.find_first_not_of(' '), text.size()));
    const bool negative = digits.starts_with('-');
    if (negative || digits.starts_with('+'))
        digits.remove_prefix(1);
    if (!digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos) {
        int64_t expected = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), expected);
        const bool inRange = error == std::errc() && end == digits.data() + digits.size() &&
                             expected <= (negative ? 2147483648LL : 2147483647LL);
        FUZZ_CHECK(converts == inRange);
        FUZZ_CHECK(!converts || value == (negative ? -expected : expected));
    }
    return 0;
}
