#pragma once
// The disc profile file "ketrilodisclist.ini" beside the executable.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace ketrilo {

inline constexpr const char* ProfileFileName = "ketrilodisclist.ini";
inline constexpr int32_t MaxProfiles = 9999;

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

struct DiscProfiles {
    std::vector<std::string> names;        // the chooser's entries
    std::vector<std::string> CapacityList; // the "Count" texts, as read
};

// The folder of executablePath + ProfileFileName.
[[nodiscard]] std::string ProfileFilePath(const std::string& executablePath);

// Reads "Items" of [setting] (0 when absent or not a number, at most MaxProfiles,
// none when negative), then Name ("-") and Count ("0") of Item01, Item02, ...
[[nodiscard]] DiscProfiles LoadDiscProfiles(const std::string& iniPath);

// The capacity in clusters of chooser entry index. Throws KetriloError
// "リストのインデックスが範囲を超えています (<index>)" or the conversion error.
[[nodiscard]] int64_t CapacityForChoice(const std::vector<std::string>& CapacityList, int index);

} // namespace ketrilo
