#pragma once
// Cluster arithmetic, digit grouping and the integer conversion of profile texts.

#include <cstdint>
#include <string>
#include <string_view>

namespace ketrilo {

// Ceiling of size / divisor for every signed 64-bit size, in integer arithmetic.
[[nodiscard]] int64_t ClustersFor(uint32_t divisor, int64_t size);

// The bytes that clusters occupy on the disc; a product beyond 64 bits (only sparse
// files of exabytes reach it) stays at the largest (or smallest) 64-bit value.
[[nodiscard]] int64_t BytesOnDisc(int64_t clusters);

// a + b, held at the largest or smallest 64-bit value instead of wrapping: a total that
// reached the largest value never comes back into range.
[[nodiscard]] int64_t SaturatingAdd(int64_t a, int64_t b);

// Decimal text grouped by three with ",", whatever the locale ("-1,234").
[[nodiscard]] std::string FormatThousands(int64_t value);

// The profile conversion rule: leading blanks, optional sign, decimal in 32-bit range
// or hex after "$", "x", "X", "0x", "0X" (up to eight significant digits, taken as a
// 32-bit pattern). Throws KetriloError "''<text>'' は整数ではありません" otherwise.
[[nodiscard]] int32_t ConvertToInt32(std::string_view text);

// The same rule without throwing: false when the text does not convert.
[[nodiscard]] bool TryConvertToInt32(std::string_view text, int32_t& value);

} // namespace ketrilo
