#include "cli/CommandWords.h"

#include "core/base/KetriloError.h"
#include "core/disk/CanonicalPath.h"
#include "core/disk/OpenByPath.h"
#include "core/image/DiscImageStatus.h"
#include "core/profiles/ProfileFile.h"
#include "core/text/EscapedText.h"
#include "core/workspace/CapacityStatus.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <system_error>

namespace ketrilo {

namespace {

bool Contains(const std::vector<std::string>& words, const std::string& word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

// A drop carries absolute paths; the registration then spells them as the window does.
std::string AsDroppedPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

} // namespace

std::optional<CommandWords> ParseCommandWords(const std::vector<std::string>& args,
                                              const std::string& command,
                                              const std::vector<std::string>& valued,
                                              const std::vector<std::string>& flags,
                                              const std::string& usage, std::ostream& err,
                                              const std::vector<std::string>& pathLists) {
    const std::string prefix = "ketrilo --" + command + ": ";
    CommandWords parsed;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty()) {
            err << prefix << "an empty path names nothing\n";
            return std::nullopt;
        } else if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.paths.push_back(AsDroppedPath(arg));
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (Contains(valued, arg) && i + 1 < args.size()) {
            parsed.values[arg] = args[++i];
        } else if (Contains(pathLists, arg) && i + 1 < args.size()) {
            parsed.pathLists[arg].push_back(AsDroppedPath(args[++i]));
        } else if (Contains(valued, arg) || Contains(pathLists, arg)) {
            err << prefix << arg << " needs a value\n";
            return std::nullopt;
        } else if (Contains(flags, arg)) {
            parsed.flags.insert(arg);
        } else {
            err << prefix << "unknown option " << arg << "\n";
            return std::nullopt;
        }
    }
    if (parsed.paths.empty()) {
        err << usage << "\n";
        return std::nullopt;
    }
    return parsed;
}

std::optional<int64_t> ChosenCapacity(const CommandWords& words, const std::string& profileFilePath,
                                      const std::string& command, std::ostream& err) {
    const auto profile = words.values.find("--profile");
    if (profile == words.values.end())
        return DefaultCapacityClusters;
    const std::string& name = profile->second;
    const DiscProfiles profiles = LoadDiscProfiles(profileFilePath);
    for (size_t i = 0; i < profiles.names.size(); ++i) {
        if (profiles.names[i] != name)
            continue;
        try {
            return CapacityForChoice(profiles.CapacityList, static_cast<int>(i));
        } catch (const KetriloError& e) {
            err << "ketrilo --" << command << ": " << e.what() << "\n";
            return std::nullopt;
        }
    }
    err << "ketrilo --" << command << ": unknown profile " << name << " (";
    if (profiles.names.empty()) {
        err << profileFilePath << " lists no disc";
    } else {
        err << "the discs of " << profileFilePath << ":";
        for (const std::string& known : profiles.names)
            err << " \"" << known << "\"";
    }
    err << "; see ketrilo --list-profiles)\n";
    return std::nullopt;
}

std::vector<std::string> ReachablePaths(const std::vector<std::string>& paths,
                                        const std::string& command, std::ostream& err) {
    std::vector<std::string> reachable;
    for (const std::string& path : paths) {
        struct stat status;
        if (StatByPath(CanonicalPath(path), status))
            reachable.push_back(path);
        else
            err << "ketrilo --" << command << ": cannot reach " << EscapeControlCharacters(path)
                << ": " << std::strerror(errno) << "\n";
    }
    return reachable;
}

void PrintImageFindings(const std::vector<ImageFinding>& findings, const std::string& command,
                        std::ostream& out, std::ostream& err) {
    for (const ImageFinding& finding : findings) {
        const std::string path = EscapeControlCharacters(finding.path);
        out << "check\t" << ImageFindingKeyword(finding.kind) << '\t' << path << '\n';
        if (finding.kind == ImageFindingKind::Refused)
            err << "ketrilo --" << command << ": libisofs refuses " << path << ": "
                << finding.detail << "\n";
    }
}

int RunListProfilesCommand(const std::vector<std::string>& args, const std::string& profileFilePath,
                           std::ostream& out, std::ostream& err) {
    if (!args.empty()) {
        err << "usage: ketrilo --list-profiles\n";
        return 2;
    }
    out << "# " << profileFilePath << "\n";
    for (const std::string& name : LoadDiscProfiles(profileFilePath).names)
        out << name << "\n";
    return 0;
}

} // namespace ketrilo
