#pragma once
// The disc profile file "ketrilodisclist.ini" beside the executable.

#include <cstdint>
#include <string>
#include <vector>

namespace ketrilo {

inline constexpr const char* ProfileFileName = "ketrilodisclist.ini";
inline constexpr int32_t MaxProfiles = 9999;

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
