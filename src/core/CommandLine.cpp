#include "CommandLine.h"

#include <sys/stat.h>

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
     "a disc is split into its parts). With DIR, write each disc's graft-point list there; "
     "\"xorriso -as mkisofs -R -J -iso-level 3 -no-pad -graft-points -path-list FILE -o "
     "disc.iso\" writes an image of exactly the sectors printed. Exit 0 when every item is "
     "planned, 1 when a file is too large for any disc, 2 on a usage error."},
    {"ketrilo --help", "Print this help and exit."},
    {"ketrilo --version", "Print the version and exit."},
};

constexpr std::string_view HelpFooter =
    "The disc list ketrilodisclist.ini is read from the program's folder, else from\n"
    "$XDG_CONFIG_HOME/ketrilo/ (~/.config/ketrilo/), else from the installed\n"
    "share/ketrilo/.\n";

// "ketrilo: <what> (see ketrilo --help)" and the usage exit code.
WindowCommandLine UsageError(std::ostream& err, const std::string& what) {
    err << "ketrilo: " << what << " (see ketrilo --help)\n";
    return {2, {}};
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// As the chooser gives it: absolute, "." and ".." resolved by the text, no trailing "/".
std::string ChosenFolder(const std::string& path) {
    std::error_code error;
    std::string folder = std::filesystem::absolute(path, error).lexically_normal().string();
    if (error)
        folder = path;
    while (folder.size() > 1 && folder.ends_with('/'))
        folder.pop_back();
    return folder;
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
    if (!IsFolder(folders.front()))
        return UsageError(err, "not a folder: " + folders.front());
    return {std::nullopt, ChosenFolder(folders.front())};
}

} // namespace ketrilo
