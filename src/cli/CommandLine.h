#pragma once
// The program's command line apart from its sub-commands (--measure and the like, which
// the entry point hands on first): --help, --version and the folder to start with.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace ketrilo {

struct WindowCommandLine {
    // Set when the program ends at once with this code: 0 after --help or --version, 2 after
    // a one-line usage message.
    std::optional<int> exitCode;
    // The folder to list at start, absolute, without a trailing "/" ("/" for the root);
    // empty when none was given.
    std::string folder;
};

// args are the words after the program's name. Prints the help or the version on out and a
// usage message on err.
[[nodiscard]] WindowCommandLine ParseWindowCommandLine(const std::vector<std::string>& args,
                                                       std::ostream& out, std::ostream& err);

// The --help text: every way to run the program, one line each.
void PrintHelp(std::ostream& out);

} // namespace ketrilo
