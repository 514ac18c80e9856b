#include "core/text/Utf8.h"

namespace ketrilo {

char32_t DecodeUtf8At(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
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
        ++pos;
        return ReplacementCharacter;
    }
    if (text.size() - pos < length) {
        ++pos;
        return ReplacementCharacter;
    }
    for (size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + i]);
        if ((byte & 0xC0) != 0x80) {
            ++pos;
            return ReplacementCharacter;
        }
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    const bool overlongOrSurrogate =
        (length == 3 && (codePoint < 0x800 || (codePoint >= 0xD800 && codePoint <= 0xDFFF))) ||
        (length == 4 && (codePoint < 0x10000 || codePoint > 0x10FFFF));
    if (overlongOrSurrogate) {
        ++pos;
        return ReplacementCharacter;
    }
    pos += length;
    return codePoint;
}

bool IsValidUtf8(std::string_view text) {
    for (size_t pos = 0; pos < text.size();) {
        const size_t start = pos;
        const char32_t c = DecodeUtf8At(text, pos);
        if (IsStrayByte(c, pos - start))
            return false;
    }
    return true;
}

} // namespace ketrilo
