#include "core/disk/UriList.h"

#include <algorithm>
#include <cctype>

namespace ketrilo {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The bytes that a URL's path spells; nullopt for a broken "%" escape, a raw control
// character, or a NUL once decoded (system calls would stop at it and name another entry).
std::optional<std::string> PercentDecoded(std::string_view encoded) {
    std::string decoded;
    decoded.reserve(encoded.size());
    for (size_t i = 0; i < encoded.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(encoded[i]);
        if (c < 0x20 || c == 0x7F)
            return std::nullopt;
        if (c != '%') {
            decoded.push_back(static_cast<char>(c));
            continue;
        }
        const int high = i + 2 < encoded.size() ? HexValue(encoded[i + 1]) : -1;
        const int low = high < 0 ? -1 : HexValue(encoded[i + 2]);
        if (low < 0 || (high == 0 && low == 0))
            return std::nullopt;
        decoded.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return decoded;
}

// The absolute path of a local file URL; nullopt for anything else.
std::optional<std::string> LocalPathOf(std::string_view url) {
    constexpr std::string_view scheme = "file:";
    if (url.size() < scheme.size() || !EqualsIgnoringCase(url.substr(0, scheme.size()), scheme))
        return std::nullopt;
    std::string_view rest = url.substr(scheme.size());
    if (rest.find_first_of("?#") != std::string_view::npos)
        return std::nullopt;
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const size_t pathStart = std::min(rest.find('/'), rest.size());
        const std::string_view host = rest.substr(0, pathStart);
        // Another machine's file is not here, whatever path it shares with one here.
        if (!host.empty() && !EqualsIgnoringCase(host, "localhost"))
            return std::nullopt;
        rest.remove_prefix(pathStart);
    }
    // A relative path would name whatever the working folder happens to hold.
    if (!rest.starts_with('/'))
        return std::nullopt;
    return PercentDecoded(rest);
}

} // namespace

std::optional<std::vector<std::string>> LocalPathsFromUriList(std::string_view list) {
    // Some programs end the list with a NUL; it belongs to no line.
    while (!list.empty() && list.back() == '\0')
        list.remove_suffix(1);
    std::vector<std::string> paths;
    while (!list.empty()) {
        const size_t end = std::min(list.find('\n'), list.size());
        const std::string_view line = Trimmed(list.substr(0, end));
        list.remove_prefix(std::min(end + 1, list.size()));
        if (line.empty() || line.front() == '#')
            continue;
        std::optional<std::string> path = LocalPathOf(line);
        if (!path)
            return std::nullopt;
        paths.push_back(std::move(*path));
    }
    if (paths.empty())
        return std::nullopt;
    return paths;
}

} // namespace ketrilo
