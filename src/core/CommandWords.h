#pragma once
// What the command-line modes share: their words, their paths and the disc they use.

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

// The paths that name an entry, in order; each other one is named on err ("ketrilo
// --<command>: cannot reach <path>: <reason>", escaped) and makes unreachable true.
[[nodiscard]] std::vector<std::string> ReachablePaths(const std::vector<std::string>& paths,
                                                      const std::string& command, std::ostream& err,
                                                      bool& unreachable);

// The capacity in clusters of the disc the words' --profile names exactly, or of the
// default disc without one; nullopt (message on err) when the profile file has no such
// name or its count does not give a capacity.
[[nodiscard]] std::optional<int64_t> ChosenCapacity(const CommandWords& words,
                                                    const std::string& profileFilePath,
                                                    const std::string& command, std::ostream& err);

} // namespace ketrilo
