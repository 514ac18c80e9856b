#pragma once
// UTF-8 decoding as every rule of the program reads names: a byte that does not start
// a well-formed sequence (overlong, surrogate, beyond U+10FFFF, cut short, stray
// continuation) stands alone and decodes to U+FFFD.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ketrilo {

inline constexpr char32_t ReplacementCharacter = 0xFFFD;

// The character at pos; pos moves past it. pos must be below text.size().
[[nodiscard]] char32_t DecodeUtf8At(std::string_view text, size_t& pos);

// UTF-16 code units of a character: two outside the Basic Multilingual Plane.
[[nodiscard]] constexpr int32_t Utf16Units(char32_t c) {
    return c >= 0x10000 ? 2 : 1;
}

} // namespace ketrilo
