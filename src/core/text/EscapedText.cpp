#include "core/text/EscapedText.h"

#include "core/text/Utf8.h"

namespace ketrilo {

namespace {

void AppendHexEscapes(std::string& out, std::string_view bytes) {
    constexpr char digits[] = "0123456789ABCDEF";
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        out += "\\x";
        out += digits[value >> 4];
        out += digits[value & 0x0F];
    }
}

} // namespace

std::string EscapeControlCharacters(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t start = pos;
        const char32_t c = DecodeUtf8At(text, pos);
        const std::string_view bytes = text.substr(start, pos - start);
        // An undecodable byte decodes to U+FFFD from a single byte; the real U+FFFD takes three.
        const bool notUtf8 = c == ReplacementCharacter && bytes.size() == 1;
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || notUtf8) {
            AppendHexEscapes(out, bytes);
        } else {
            out += bytes;
        }
    }
    return out;
}

} // namespace ketrilo
