#pragma once
// What the command-line modes share: their words, their paths and the disc they use.

#include "core/image/DiscImage.h"

#include <cstdint>
#include <iosfwd>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace ketrilo {

struct CommandWords {
    std::map<std::string, std::string> values; // option -> the word after it
    std::set<std::string> flags;
    std::vector<std::string> paths;                            // absolute, as a drop carries them
    std::map<std::string, std::vector<std::string>> pathLists; // option -> its paths, as paths
};

// Splits the words after "--<command>": an option of valued takes the next word, one of
// pathLists takes the next word as one more path of its own list, one of flags stands
// alone, "--" ends the options, any other word is a path. nullopt after a one-line
// message on err (prefixed "ketrilo --<command>: ") when the words are not a valid use;
// usage is that message when no path is given.
[[nodiscard]] std::optional<CommandWords>
ParseCommandWords(const std::vector<std::string>& args, const std::string& command,
                  const std::vector<std::string>& valued, const std::vector<std::string>& flags,
                  const std::string& usage, std::ostream& err,
                  const std::vector<std::string>& pathLists = {});

// The capacity in clusters of the disc the words' --profile names exactly, or of the
// default disc without one; nullopt (message on err) when the profile file has no such
// name, the message then naming the file and its discs, or its count does not give a
// capacity.
[[nodiscard]] std::optional<int64_t> ChosenCapacity(const CommandWords& words,
                                                    const std::string& profileFilePath,
                                                    const std::string& command, std::ostream& err);

// The paths at which an entry is found, as the registration spells them (a typo must
// not read as an empty item); each other one is named on err with the reason and left out.
[[nodiscard]] std::vector<std::string> ReachablePaths(const std::vector<std::string>& paths,
                                                      const std::string& command,
                                                      std::ostream& err);

// One "check\t<kind>\t<path>" line on out per finding; a refusal is also named on err
// with what the library says. Paths pass through EscapeControlCharacters.
void PrintImageFindings(const std::vector<ImageFinding>& findings, const std::string& command,
                        std::ostream& out, std::ostream& err);

// ketrilo --list-profiles: "# " and the path of the disc list, then the name of each of
// its discs, one a line, as --profile takes them. Returns 0, or 2 after a usage line on
// err when args are not empty.
[[nodiscard]] int RunListProfilesCommand(const std::vector<std::string>& args,
                                         const std::string& profileFilePath, std::ostream& out,
                                         std::ostream& err);

} // namespace ketrilo
