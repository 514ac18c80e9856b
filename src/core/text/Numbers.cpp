#include "core/text/Numbers.h"

#include "core/base/KetriloError.h"
#include "core/text/NameRules.h"

#include <limits>

namespace ketrilo {

int64_t ClustersFor(uint32_t divisor, int64_t size) {
    const auto d = static_cast<int64_t>(divisor);
    const int64_t quotient = size / d; // truncated toward zero
    return size % d > 0 ? quotient + 1 : quotient;
}

int64_t BytesOnDisc(int64_t clusters) {
    int64_t bytes = 0;
    if (__builtin_mul_overflow(clusters, ClusterSize, &bytes))
        return clusters < 0 ? std::numeric_limits<int64_t>::min()
                            : std::numeric_limits<int64_t>::max();
    return bytes;
}

int64_t SaturatingAdd(int64_t a, int64_t b) {
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b < 0 ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    return sum;
}

std::string FormatThousands(int64_t value) {
    const std::string plain = std::to_string(value);
    const size_t digitsStart = value < 0 ? 1 : 0;
    const size_t digitCount = plain.size() - digitsStart;
    std::string grouped = plain.substr(0, digitsStart);
    for (size_t i = 0; i < digitCount; ++i) {
        if (i > 0 && (digitCount - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += plain[digitsStart + i];
    }
    return grouped;
}

namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Up to eight significant hex digits, spelling a 32-bit pattern.
bool ParseHexPattern(std::string_view digits, uint32_t& pattern) {
    if (digits.empty()) {
        return false;
    }
    pattern = 0;
    int significant = 0;
    for (char c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            return false;
        }
        if (pattern != 0 || digit != 0) {
            ++significant;
        }
        if (significant > 8) {
            return false;
        }
        pattern = (pattern << 4) | static_cast<uint32_t>(digit);
    }
    return true;
}

// Decimal digits whose value, with its sign, lies in the 32-bit range.
bool ParseDecimal(std::string_view digits, bool negative, int32_t& value) {
    if (digits.empty()) {
        return false;
    }
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : std::numeric_limits<int32_t>::max();
    int64_t magnitude = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return false;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit) {
            return false;
        }
    }
    value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return true;
}

} // namespace

bool TryConvertToInt32(std::string_view text, int32_t& value) {
    std::string_view rest = text;
    while (!rest.empty() && rest.front() == ' ') {
        rest.remove_prefix(1);
    }
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    size_t hexPrefix = 0;
    if (rest.starts_with("0x") || rest.starts_with("0X")) {
        hexPrefix = 2;
    } else if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
        hexPrefix = 1;
    }
    if (hexPrefix == 0) {
        return ParseDecimal(rest, negative, value);
    }
    uint32_t pattern = 0;
    if (!ParseHexPattern(rest.substr(hexPrefix), pattern)) {
        return false;
    }
    // The sign applies to the pattern, with 32-bit wrap-around ("-$80000000" stays minimal).
    value = static_cast<int32_t>(negative ? 0u - pattern : pattern);
    return true;
}

int32_t ConvertToInt32(std::string_view text) {
    int32_t value = 0;
    if (!TryConvertToInt32(text, value)) {
        throw KetriloError("''" + std::string(text) + "'' は整数ではありません");
    }
    return value;
}

} // namespace ketrilo
