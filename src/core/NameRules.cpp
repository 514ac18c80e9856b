#include "NameRules.h"

namespace ketrilo {

namespace {

struct Utf8Step {
    size_t bytes;  // bytes the character takes
    int32_t units; // UTF-16 units it decodes to
};

constexpr Utf8Step InvalidByte{1, 1}; // decodes to U+FFFD

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The character starting at pos; a byte that does not start a well-formed sequence
// (overlong, surrogate, beyond U+10FFFF, cut short) stands alone.
Utf8Step NextCharacter(std::string_view text, size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        return {1, 1};
    }
    size_t length = 0;
    char32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
    } else {
        return InvalidByte;
    }
    if (text.size() - pos < length) {
        return InvalidByte;
    }
    for (size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + i]);
        if (!IsContinuation(byte)) {
            return InvalidByte;
        }
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    if (length == 3 && (codePoint < 0x800 || (codePoint >= 0xD800 && codePoint <= 0xDFFF))) {
        return InvalidByte;
    }
    if (length == 4 && (codePoint < 0x10000 || codePoint > 0x10FFFF)) {
        return InvalidByte;
    }
    return {length, length == 4 ? 2 : 1};
}

} // namespace

int32_t NameLength(std::string_view name) {
    int32_t units = 0;
    for (size_t pos = 0; pos < name.size();) {
        const Utf8Step step = NextCharacter(name, pos);
        units += step.units;
        pos += step.bytes;
    }
    return units;
}

std::string_view CutToUnits(std::string_view text, int32_t maxUnits) {
    int32_t units = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        const Utf8Step step = NextCharacter(text, pos);
        if (units + step.units > maxUnits) {
            break;
        }
        units += step.units;
        pos += step.bytes;
    }
    return text.substr(0, pos);
}

bool IsNameWithinLimit(uint32_t length) {
    return length < NameLengthLimit + 1;
}

bool IsLongName(std::string_view name) {
    // A name never has more UTF-16 units than UTF-8 bytes: short names need no decoding.
    if (name.size() <= static_cast<size_t>(NameLengthLimit)) {
        return false;
    }
    return !IsNameWithinLimit(static_cast<uint32_t>(NameLength(name)));
}

std::string ExtensionOf(std::string_view name) {
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

std::string FormatPadded(int64_t value, int width) {
    std::string text = std::to_string(value);
    if (width > 0 && text.size() < static_cast<size_t>(width)) {
        text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
    }
    return text;
}

} // namespace ketrilo
