#include "cli/CommandLine.h"

#include "core/disk/CanonicalPath.h"
#include "core/disk/OpenByPath.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>

namespace ketrilo {

namespace {

struct HelpLine {
    std::string_view usage;
    std::string_view meaning;
};

// One line per way to run the program; a new option adds its line here.
constexpr HelpLine HelpLines[] = {
    {"ketrilo [FOLDER]",
     "Open the window and list FOLDER, as if it were chosen with the folder button."},
    {"ketrilo --measure [--profile NAME] PATH...",
     "Register the PATHs as if dropped onto the well, without a window, and print each "
     "item's clusters and bytes, the over-long names and the status line. NAME picks a disc "
     "of the disc list (4,707,319,808 bytes without it). Exit 0 when the items fit, 1 when "
     "they do not, 2 on a usage error or when a PATH cannot be reached (it is named on "
     "standard error and the rest is printed). Each item is one line: in the paths printed, "
     "\\\\ \\n \\t \\r and \\xHH stand for a backslash, a control character or a byte that is "
     "not UTF-8."},
    {"ketrilo --measure --image [--profile NAME] PATH...",
     "As --measure, and also lay out the disc image a burning program makes of the items "
     "(Rock Ridge, Joliet, ISO 9660 level 3, no padding): print \"image\", its sectors and "
     "bytes, and a \"check\" line with a kind and a path for each thing the burner would "
     "change or refuse. Whether the items fit is then judged by the image, not the clusters."},
    {"ketrilo --plan [--profile NAME] [--out DIR] PATH...",
     "Share the PATHs out over as few discs as possible, each disc's image proven to fit, "
     "and print one block per disc: its sectors, clusters and items (a folder too large for "
     "a disc is split into its parts; each lands at its disc's root under its own name), "
     "then a \"check\" line for each entry the image's "
     "library refuses. With DIR (made when missing), write each disc's graft-point list "
     "there, in place of an earlier plan's; \"xorriso -as mkisofs -R -J -iso-level 3 "
     "-no-pad -graft-points -path-list FILE -o disc.iso\" writes an image of exactly the "
     "sectors printed. genisoimage takes the lists too, but for a file whose name ends in "
     "\\, and makes slightly larger images. Exit 0 "
     "when every item is planned, 1 when a file is too large for any disc or an entry is "
     "refused, 2 on a usage error or when a PATH cannot be reached. Paths print as with "
     "--measure."},
    {"ketrilo --fill [--profile NAME] [--well PATH]... CANDIDATE...",
     "Find the CANDIDATEs that fill the disc best, by its image, around the items already "
     "on it (each --well PATH), never over its capacity; where several sets fill it alike, "
     "the one of the earlier CANDIDATEs. Print each chosen CANDIDATE on a line (escaped as "
     "--measure does), then \"image\" with the disc's sectors and bytes and \"free\" with "
     "the sectors left. A CANDIDATE larger than the space left, on the disc already or named "
     "like an item on it is never chosen. Exit 0 when a set was found, 1 when nothing fits, "
     "2 on a usage error or when a PATH cannot be reached (it is named on standard error "
     "and left out)."},
    {"ketrilo --list-profiles",
     "Print the path of the disc list in use and the name of each of its discs, one a line: "
     "the NAMEs that --profile takes."},
    {"ketrilo --help", "Print this help and exit."},
    {"ketrilo --version", "Print the version and exit."},
};

constexpr std::string_view HelpFooter =
    "The disc list ketrilodisclist.ini is read from the program's folder, else from\n"
    "$XDG_CONFIG_HOME/ketrilo/ (~/.config/ketrilo/), else from the installed\n"
    "share/ketrilo/. The window reads it when it starts: restart it after editing the\n"
    "list. --measure, --plan and --list-profiles read it each time they run.\n";

// "ketrilo: <what> (see ketrilo --help)" and the usage exit code.
WindowCommandLine UsageError(std::ostream& err, const std::string& what) {
    err << "ketrilo: " << what << " (see ketrilo --help)\n";
    return {2, {}};
}

// As the chooser gives it: absolute, spelt as a drop is, no trailing "/" (as given when
// the working folder cannot be known).
std::string ChosenFolder(const std::string& path) {
    std::error_code error;
    const std::string absolute = std::filesystem::absolute(path, error).string();
    return error ? path : CanonicalPath(absolute);
}

// The meaning of a help line, indented, its words wrapped before column 80.
void WriteWrapped(std::ostream& out, std::string_view text) {
    constexpr size_t Indent = 6, Width = 79;
    size_t column = 0;
    while (!text.empty()) {
        const size_t end = text.find(' ');
        const std::string_view word = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (column > 0 && column + 1 + word.size() > Width) {
            out << '\n';
            column = 0;
        }
        out << (column == 0 ? std::string(Indent, ' ') : " ") << word;
        column += (column == 0 ? Indent : 1) + word.size();
    }
    out << '\n';
}

} // namespace

void PrintHelp(std::ostream& out) {
    out << "Ketrilo prepares a data disc: it lists a folder with the space each item takes\n"
           "on the disc, gathers items in the well against the disc's capacity, and hands\n"
           "the well to the burning program by drag and drop.\n\nUsage:\n";
    for (const HelpLine& line : HelpLines) {
        out << "  " << line.usage << '\n';
        WriteWrapped(out, line.meaning);
    }
    out << '\n' << HelpFooter;
}

WindowCommandLine ParseWindowCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                         std::ostream& err) {
    std::vector<std::string> folders;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            folders.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            PrintHelp(out);
            return {0, {}};
        } else if (arg == "--version") {
            out << "ketrilo " << KETRILO_VERSION << '\n';
            return {0, {}};
        } else {
            return UsageError(err, "unknown option " + arg);
        }
    }
    if (folders.size() > 1)
        return UsageError(err, "give at most one folder");
    if (folders.empty())
        return {};
    // The folder named, as the system reaches it: a link to a folder is followed.
    if (!IsFolderByPath(folders.front()))
        return UsageError(err, "not a folder: " + folders.front());
    return {std::nullopt, ChosenFolder(folders.front())};
}

} // namespace ketrilo
