#include "core/image/ImageNames.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace ketrilo {

namespace {

constexpr char32_t Replacement = U'_';

// The characters of a name as iconv decodes UTF-8: a byte that starts no valid sequence
// (a stray or missing continuation, an overlong form, a surrogate, beyond U+10FFFF) is one
// character of its own, which libisofs then writes as "_".
std::u32string Characters(std::string_view name) {
    std::u32string characters;
    characters.reserve(name.size());
    for (size_t i = 0; i < name.size();) {
        const auto lead = static_cast<unsigned char>(name[i]);
        const int length = lead < 0x80   ? 1
                           : lead < 0xC2 ? 0
                           : lead < 0xE0 ? 2
                           : lead < 0xF0 ? 3
                           : lead < 0xF5 ? 4
                                         : 0;
        char32_t code = length == 1   ? lead
                        : length == 2 ? lead & 0x1F
                        : length == 3 ? lead & 0x0F
                                      : lead & 0x07;
        bool valid = length > 0 && i + length <= name.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(name[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = code << 6 | (next & 0x3F);
        }
        valid = valid && !(length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) &&
                !(length == 4 && (code < 0x10000 || code > 0x10FFFF));
        characters.push_back(valid ? code : Replacement);
        i += valid ? length : 1;
    }
    return characters;
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

// A character of a Joliet identifier: the controls and * / : ; ? \ become "_".
char16_t JolietCharacter(char16_t c) {
    return c < 0x20 || std::u16string_view(u"*/:;?\\").find(c) != std::u16string_view::npos ? u'_'
                                                                                            : c;
}

// The name cut to a file identifier of at most most characters besides its dot: the
// extension keeps at least three when the name is long, the dot is always there when
// forcedDot, and when the last dot ends the name it is one of the name's characters.
template <class Text, class Map>
Text FileIdentifier(const Text& name, size_t most, bool forcedDot, Map map) {
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
    Text id;
    for (size_t i = 0; i < nameLength; ++i)
        id.push_back(map(name[i]));
    if (extensionLength == 0 && !forcedDot)
        return id;
    id.push_back('.');
    for (size_t i = 0; i < extensionLength; ++i)
        id.push_back(map(name[dot + 1 + i]));
    return id;
}

template <class Text, class Map> Text FolderIdentifier(const Text& name, size_t most, Map map) {
    Text id;
    for (size_t i = 0; i < std::min(name.size(), most); ++i)
        id.push_back(map(name[i]));
    return id;
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
    std::sort(entries.begin(), entries.end(),
              [id](const NamedEntry* a, const NamedEntry* b) { return a->*id < b->*id; });
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

std::string IsoIdentifier(std::string_view name, bool folder) {
    std::string ascii;
    for (const char32_t c : Characters(name))
        ascii.push_back(c < 0x80 ? static_cast<char>(c) : '_');
    // A folder's keeps its extension too, only without a forced dot.
    return FileIdentifier(ascii, 30, !folder, IsoCharacter);
}

std::u16string JolietIdentifier(std::string_view name, bool folder) {
    std::u16string units;
    for (const char32_t c : Characters(name))
        units.push_back(c <= 0xFFFF ? static_cast<char16_t>(c) : u'_');
    return folder ? FolderIdentifier(units, 64, JolietCharacter)
                  : FileIdentifier(units, 64, false, JolietCharacter);
}

bool NumberIsoCollisions(std::vector<NamedEntry*>& entries) {
    return NumberCollisions(entries, &NamedEntry::iso, NumberingRoom{31, 31, 31, true, true});
}

bool NumberJolietCollisions(std::vector<NamedEntry*>& entries) {
    return NumberCollisions(entries, &NamedEntry::joliet, NumberingRoom{65, 66, 65, false, false});
}

} // namespace ketrilo
