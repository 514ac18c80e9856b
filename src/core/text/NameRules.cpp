#include "core/text/NameRules.h"

#include "core/text/Utf8.h"

namespace ketrilo {

int32_t NameLength(std::string_view name) {
    int32_t units = 0;
    for (size_t pos = 0; pos < name.size();) {
        units += Utf16Units(DecodeUtf8At(name, pos));
    }
    return units;
}

std::string_view CutToUnits(std::string_view text, int32_t maxUnits) {
    int32_t units = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t next = pos;
        const int32_t step = Utf16Units(DecodeUtf8At(text, next));
        if (units + step > maxUnits) {
            break;
        }
        units += step;
        pos = next;
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
