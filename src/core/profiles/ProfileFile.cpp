#include "core/profiles/ProfileFile.h"

#include "core/base/KetriloError.h"
#include "core/profiles/IniFile.h"
#include "core/text/Numbers.h"
#include "core/text/Paths.h"

#include <cstdio>

namespace ketrilo {

std::string ProfileFilePath(const std::string& executablePath) {
    return WithTrailingBackslash(SplitFullPath(executablePath).folder) + ProfileFileName;
}

DiscProfiles LoadDiscProfiles(const std::string& iniPath) {
    const IniFile ini = IniFile::Load(iniPath);
    int32_t count = 0;
    if (!TryConvertToInt32(ini.Read("setting", "Items", ""), count)) {
        count = 0;
    }
    DiscProfiles profiles;
    // A huge count would stall start-up on sections that cannot all exist.
    for (int32_t i = 1; i <= count && i <= MaxProfiles; ++i) {
        char section[16];
        std::snprintf(section, sizeof section, "Item%.2d", static_cast<int>(i));
        profiles.CapacityList.push_back(ini.Read(section, "Count", "0"));
        profiles.names.push_back(ini.Read(section, "Name", "-"));
    }
    return profiles;
}

int64_t CapacityForChoice(const std::vector<std::string>& CapacityList, int index) {
    if (index < 0 || static_cast<size_t>(index) >= CapacityList.size()) {
        throw ListIndexError(index);
    }
    return ConvertToInt32(CapacityList[static_cast<size_t>(index)]);
}

} // namespace ketrilo
