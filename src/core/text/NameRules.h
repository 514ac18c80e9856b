#pragma once
// Names as the disc's file system sees them. Names are kept as the file system's
// bytes (UTF-8); lengths count the UTF-16 code units of their decoding.

#include <cstdint>
#include <string>
#include <string_view>

namespace ketrilo {

inline constexpr int64_t ClusterSize = 2048;
inline constexpr int32_t NameLengthLimit = 64;

// UTF-16 code units of the UTF-8 decoding of name: a character outside the BMP
// counts 2, each invalid byte counts 1 (it decodes to U+FFFD).
[[nodiscard]] int32_t NameLength(std::string_view name);

// The longest prefix of text that holds at most maxUnits UTF-16 units; a character
// that would straddle the limit is left out whole.
[[nodiscard]] std::string_view CutToUnits(std::string_view text, int32_t maxUnits);

// True when length is below 65 units.
[[nodiscard]] bool IsNameWithinLimit(uint32_t length);

// True when the name is 65 UTF-16 units or more.
[[nodiscard]] bool IsLongName(std::string_view name);

// The part of name from its last "." to the end, dot included; empty without a dot.
[[nodiscard]] std::string ExtensionOf(std::string_view name);

// value right-aligned with blanks to width ("%12d", "%6d", "%3d"); a longer number in full.
[[nodiscard]] std::string FormatPadded(int64_t value, int width);

} // namespace ketrilo
