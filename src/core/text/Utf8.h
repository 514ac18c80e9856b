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

// Whether DecodeUtf8At, having read consumed bytes, gave a byte that is not UTF-8 (a
// well-formed U+FFFD takes three).
[[nodiscard]] constexpr bool IsStrayByte(char32_t decoded, size_t consumed) {
    return decoded == ReplacementCharacter && consumed == 1;
}

// Whether every byte of text belongs to a well-formed UTF-8 character.
[[nodiscard]] bool IsValidUtf8(std::string_view text);

// UTF-16 code units of a character: two outside the Basic Multilingual Plane.
[[nodiscard]] constexpr int32_t Utf16Units(char32_t c) {
    return c >= 0x10000 ? 2 : 1;
}

} // namespace ketrilo
