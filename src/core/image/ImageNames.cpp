#include "core/image/ImageNames.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace ketrilo {

namespace {

constexpr char32_t Replacement = U'_';

// Calls take(c) for each character of a name as iconv decodes UTF-8: a byte that starts no
// valid sequence (a stray or missing continuation, an overlong form, a surrogate, beyond
// U+10FFFF) is one character of its own, which libisofs then writes as "_".
template <class Take> void ForEachCharacter(std::string_view name, Take take) {
    for (size_t i = 0; i < name.size();) {
        const auto lead = static_cast<unsigned char>(name[i]);
        if (lead < 0x80) {
            take(char32_t{lead});
            ++i;
            continue;
        }
        const int length = lead < 0xC2   ? 0
                           : lead < 0xE0 ? 2
                           : lead < 0xF0 ? 3
                           : lead < 0xF5 ? 4
                                         : 0;
        char32_t code = length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        bool valid = length > 0 && i + length <= name.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(name[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = code << 6 | (next & 0x3F);
        }
        valid = valid && !(length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) &&
                !(length == 4 && (code < 0x10000 || code > 0x10FFFF));
        take(valid ? code : Replacement);
        i += valid ? length : 1;
    }
}

bool IsDCharacter(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '_';
}

// A character of an ISO 9660 identifier: upper-cased, anything but a d-character "_".
char IsoCharacter(char32_t c) {
    const char upper = c >= U'a' && c <= U'z' ? static_cast<char>(c - U'a' + U'A')
                       : c < 0x80             ? static_cast<char>(c)
                                              : '_';
    return IsDCharacter(upper) ? upper : '_';
}

// A character of a Joliet identifier: a forbidden one becomes "_".
char16_t JolietCharacter(char16_t c) {
    return IsJolietForbidden(c) ? u'_' : c;
}

// Cuts name, in place, to a file identifier of at most most characters besides its dot,
// mapped by map: the extension keeps at least three when the name is long, the dot is
// always there when forcedDot, and when the last dot ends the name it is one of the name's
// characters.
template <class Text, class Map>
void CutToFileIdentifier(Text& name, size_t most, bool forcedDot, Map map) {
    const size_t dot = name.rfind('.');
    size_t nameLength = name.size();
    size_t extensionLength = 0;
    if (dot != Text::npos && dot + 1 < name.size()) {
        const size_t extension = name.size() - dot - 1;
        const bool long_ = name.size() > most + 1;
        nameLength = dot;
        extensionLength = long_ && extension > 3 ? (dot < most - 3 ? most - dot : 3) : extension;
        if (long_)
            nameLength = most - extensionLength;
    } else {
        nameLength = std::min(nameLength, most);
    }
    for (size_t i = 0; i < nameLength; ++i)
        name[i] = map(name[i]);
    if (extensionLength == 0) {
        name.resize(nameLength);
        if (forcedDot)
            name.push_back('.');
        return;
    }
    // The extension moves down to just after the name part, which never ends past the dot.
    name[nameLength] = '.';
    for (size_t i = 0; i < extensionLength; ++i)
        name[nameLength + 1 + i] = map(name[dot + 1 + i]);
    name.resize(nameLength + 1 + extensionLength);
}

template <class Text, class Map> void CutToFolderIdentifier(Text& name, size_t most, Map map) {
    name.resize(std::min(name.size(), most));
    for (auto& c : name)
        c = map(c);
}

// The room libisofs leaves a numbered name: name part = withExtension - extension - 1 -
// digits for a file with an extension (reduced when that leaves nothing), plain - digits
// otherwise.
struct NumberingRoom {
    int withExtension;
    int reduced;
    int plain;
    bool dotBeforeEmptyExtension;
    bool folderExtensions; // a folder's name has an extension too
};

template <class Text> Text Digits(int number, int digits) {
    std::string text = std::to_string(number);
    if (static_cast<int>(text.size()) < digits)
        text.insert(0, static_cast<size_t>(digits) - text.size(), '0');
    return Text(text.begin(), text.end());
}

template <class Text>
bool NumberCollisions(std::vector<NamedEntry*>& entries, Text NamedEntry::*id,
                      const NumberingRoom& room) {
    // Alike identifiers keep the order they came in, which decides who gets which number.
    const auto order = [id](const NamedEntry* a, const NamedEntry* b) {
        return a->*id < b->*id;
    };
    if (!std::is_sorted(entries.begin(), entries.end(), order))
        std::stable_sort(entries.begin(), entries.end(), order);
    const auto alike = [id](const NamedEntry* a, const NamedEntry* b) {
        return a->*id == b->*id;
    };
    if (std::adjacent_find(entries.begin(), entries.end(), alike) == entries.end())
        return true; // nothing to number, as in most folders
    // Each name once, held by the first entry that had it: renaming another entry of
    // that name leaves the name taken.
    std::unordered_map<Text, const NamedEntry*> taken;
    for (const NamedEntry* entry : entries)
        taken.emplace(entry->*id, entry);
    const size_t count = entries.size();
    for (size_t i = 0; i < count; ++i) {
        size_t last = i;
        while (last + 1 < count && entries[last + 1]->*id == entries[i]->*id)
            ++last;
        if (last == i)
            continue;
        int digits = 1;
        for (; digits < 8; ++digits) {
            // A failed round has renamed some already: the next starts from the first's new name.
            Text base = entries[i]->*id;
            Text extension;
            const size_t dot = base.rfind('.');
            const bool hasExtension =
                dot != Text::npos && (room.folderExtensions || !entries[i]->folder);
            if (hasExtension) {
                extension = base.substr(dot + 1);
                base.resize(dot);
                int extensionLength = static_cast<int>(extension.size());
                int most = room.withExtension - extensionLength - 1 - digits;
                if (most <= 0) {
                    if (extensionLength + most <= 3)
                        return false;
                    extensionLength += most - 1;
                    extension.resize(static_cast<size_t>(extensionLength));
                    most = room.reduced - extensionLength - 1 - digits;
                }
                if (static_cast<int>(base.size()) > most)
                    base.resize(static_cast<size_t>(std::max(most, 0)));
            } else {
                const int most = room.plain - digits;
                if (static_cast<int>(base.size()) > most)
                    base.resize(static_cast<size_t>(most));
            }
            Text tail;
            if (hasExtension && (room.dotBeforeEmptyExtension || !extension.empty())) {
                tail.push_back('.');
                tail += extension;
            }
            bool ok = true;
            int number = 0;
            const int limit = digits == 1   ? 10
                              : digits == 2 ? 100
                              : digits == 3 ? 1000
                              : digits == 4 ? 10000
                              : digits == 5 ? 100000
                              : digits == 6 ? 1000000
                                            : 10000000;
            for (size_t k = i; ok && k <= last; ++k) {
                Text candidate;
                while (true) {
                    candidate = base + Digits<Text>(number, digits) + tail;
                    if (++number > limit) {
                        ok = false;
                        break;
                    }
                    if (!taken.contains(candidate))
                        break;
                }
                if (!ok)
                    break;
                const auto held = taken.find(entries[k]->*id);
                if (held != taken.end() && held->second == entries[k])
                    taken.erase(held);
                entries[k]->*id = candidate;
                taken.emplace(candidate, entries[k]);
            }
            if (ok)
                break;
        }
        if (digits == 8)
            return false;
        i = last;
    }
    return true;
}

} // namespace

bool IsJolietForbidden(char32_t c) {
    switch (c) {
    case U'*':
    case U'/':
    case U':':
    case U';':
    case U'?':
    case U'\\':
        return true;
    default:
        return c < 0x20;
    }
}

std::string IsoIdentifier(std::string_view name, bool folder) {
    std::string ascii;
    ascii.reserve(name.size());
    ForEachCharacter(
        name, [&ascii](char32_t c) { ascii.push_back(c < 0x80 ? static_cast<char>(c) : '_'); });
    // A folder's keeps its extension too, only without a forced dot.
    CutToFileIdentifier(ascii, 30, !folder, IsoCharacter);
    return ascii;
}

std::u16string JolietIdentifier(std::string_view name, bool folder) {
    std::u16string units;
    units.reserve(name.size());
    ForEachCharacter(name, [&units](char32_t c) {
        units.push_back(c <= 0xFFFF ? static_cast<char16_t>(c) : u'_');
    });
    if (folder)
        CutToFolderIdentifier(units, 64, JolietCharacter);
    else
        CutToFileIdentifier(units, 64, false, JolietCharacter);
    return units;
}

bool NumberIsoCollisions(std::vector<NamedEntry*>& entries) {
    return NumberCollisions(entries, &NamedEntry::iso, NumberingRoom{31, 31, 31, true, true});
}

bool NumberJolietCollisions(std::vector<NamedEntry*>& entries) {
    return NumberCollisions(entries, &NamedEntry::joliet, NumberingRoom{65, 66, 65, false, false});
}

} // namespace ketrilo
