#include "core/profiles/IniFile.h"

#include "core/text/NameRules.h"

#include <fstream>
#include <sstream>
#include <string_view>

namespace ketrilo {

namespace {

// The profile call reads into a buffer of 2048 UTF-16 units, one of them the terminator.
constexpr int32_t MaxValueUnits = 2047;

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string_view WithoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

} // namespace

IniFile IniFile::Load(const std::string& path) {
    IniFile ini;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return ini;
    }
    std::ostringstream content;
    content << file.rdbuf();
    std::string_view text = content.view();
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    std::string section;
    bool inSection = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        line = Trimmed(line);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            const size_t close = line.find(']');
            section = LowerAscii(Trimmed(line.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
            inSection = true;
            continue;
        }
        const size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view value = WithoutQuotes(Trimmed(line.substr(equals + 1)));
        ini.m_values.try_emplace({section, LowerAscii(Trimmed(line.substr(0, equals)))},
                                 CutToUnits(value, MaxValueUnits));
    }
    return ini;
}

std::string IniFile::Read(const std::string& section, const std::string& key,
                          const std::string& fallback) const {
    const auto found = m_values.find({LowerAscii(section), LowerAscii(key)});
    return found == m_values.end() ? fallback : found->second;
}

} // namespace ketrilo
