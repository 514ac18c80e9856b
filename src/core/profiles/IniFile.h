#pragma once
// The general INI reader the disc profile file is read with.

#include <map>
#include <string>
#include <utility>

namespace ketrilo {

// A small INI reader: sections and keys case-insensitive, first occurrence wins,
// blanks around keys and values trimmed, one pair of surrounding quotes removed,
// ";" lines are comments. A missing or unreadable file reads as empty. UTF-8 (a
// leading BOM is skipped), CRLF tolerated; values are cut to 2047 UTF-16 units.
class IniFile {
public:
    static IniFile Load(const std::string& path);
    [[nodiscard]] std::string Read(const std::string& section, const std::string& key,
                                   const std::string& fallback) const;

private:
    // (section, key), both lower-cased, to value.
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};

} // namespace ketrilo
