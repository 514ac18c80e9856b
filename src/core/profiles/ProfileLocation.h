#pragma once
// Where the disc list "ketrilodisclist.ini" is found: beside the program (so a build
// folder keeps its own), then the user's own copy, then the installed one.

#include <string>
#include <vector>

namespace ketrilo {

// The installed data folder of a program at executablePath: the install's data folder
// (share/ketrilo) seen from its program folder (bin), ending in "/".
[[nodiscard]] std::string InstalledDataFolder(const std::string& executablePath);

// The places looked at, in order: beside the program; $XDG_CONFIG_HOME/ketrilo/ (an
// empty or relative XDG_CONFIG_HOME counts as unset and gives $HOME/.config/ketrilo/,
// skipped when HOME is empty too); the installed data folder.
[[nodiscard]] std::vector<std::string> ProfileFileCandidates(const std::string& executablePath,
                                                             const std::string& xdgConfigHome,
                                                             const std::string& home);

// The first candidate that exists and is not a folder; the one beside the program when
// none does (it then reads as empty). The file is only ever read.
[[nodiscard]] std::string FindProfileFile(const std::string& executablePath,
                                          const std::string& xdgConfigHome,
                                          const std::string& home);

// FindProfileFile with XDG_CONFIG_HOME and HOME from the environment.
[[nodiscard]] std::string FindProfileFile(const std::string& executablePath);

} // namespace ketrilo
