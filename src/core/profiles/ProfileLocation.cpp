#include "core/profiles/ProfileLocation.h"

#include "core/profiles/ProfileFile.h"
#include "core/text/Paths.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

namespace ketrilo {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool IsFileEntry(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

} // namespace

std::string InstalledDataFolder(const std::string& executablePath) {
    const std::filesystem::path folder =
        std::filesystem::path(SplitFullPath(executablePath).folder) / KETRILO_DATA_FROM_BIN;
    return WithTrailingBackslash(folder.lexically_normal().string());
}

std::vector<std::string> ProfileFileCandidates(const std::string& executablePath,
                                               const std::string& xdgConfigHome,
                                               const std::string& home) {
    std::vector<std::string> candidates{ProfileFilePath(executablePath)};
    std::string configHome;
    if (xdgConfigHome.starts_with('/'))
        configHome = xdgConfigHome;
    else if (!home.empty())
        configHome = WithTrailingBackslash(home) + ".config";
    if (!configHome.empty())
        candidates.push_back(WithTrailingBackslash(configHome) + "ketrilo/" + ProfileFileName);
    candidates.push_back(InstalledDataFolder(executablePath) + ProfileFileName);
    return candidates;
}

std::string FindProfileFile(const std::string& executablePath, const std::string& xdgConfigHome,
                            const std::string& home) {
    const std::vector<std::string> candidates =
        ProfileFileCandidates(executablePath, xdgConfigHome, home);
    for (const std::string& candidate : candidates) {
        if (IsFileEntry(candidate))
            return candidate;
    }
    return candidates.front();
}

std::string FindProfileFile(const std::string& executablePath) {
    return FindProfileFile(executablePath, Environment("XDG_CONFIG_HOME"), Environment("HOME"));
}

} // namespace ketrilo
