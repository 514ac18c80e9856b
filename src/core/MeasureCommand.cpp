#include "MeasureCommand.h"

#include "CanonicalPath.h"
#include "DiscImage.h"
#include "EscapedText.h"
#include "IconSource.h"
#include "ImageStatus.h"
#include "KetriloError.h"
#include "NameRules.h"
#include "OpenByPath.h"
#include "ProfileFile.h"
#include "Registration.h"
#include "Workspace.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <ostream>
#include <system_error>

namespace ketrilo {

namespace {

constexpr const char* Usage = "usage: ketrilo --measure [--image] [--profile NAME] PATH... (in "
                              "the paths printed, \\\\ \\n \\t \\r and \\xHH stand for a "
                              "backslash, a control character or a byte that is not UTF-8)";

struct MeasureArguments {
    std::optional<std::string> profile;
    bool image = false;
    std::vector<std::string> paths;
};

// nullopt after a one-line message on err when the words are not a valid use.
std::optional<MeasureArguments> ParseArguments(const std::vector<std::string>& args,
                                               std::ostream& err) {
    MeasureArguments parsed;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty()) {
            err << "ketrilo --measure: an empty path names nothing\n";
            return std::nullopt;
        } else if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.paths.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--image") {
            parsed.image = true;
        } else if (arg == "--profile" && i + 1 < args.size()) {
            parsed.profile = args[++i];
        } else if (arg == "--profile") {
            err << "ketrilo --measure: --profile needs a profile name\n";
            return std::nullopt;
        } else {
            err << "ketrilo --measure: unknown option " << arg << "\n";
            return std::nullopt;
        }
    }
    if (parsed.paths.empty()) {
        err << Usage << "\n";
        return std::nullopt;
    }
    return parsed;
}

// A drop carries absolute paths; the registration then spells them as the window does.
std::string AsDroppedPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

// False (errno set) when nothing is found at path, as the registration spells it: a typo
// must not read as an empty item.
bool Reachable(const std::string& path) {
    struct stat status;
    return StatByPath(path, status);
}

// The capacity of the profile named exactly so; nullopt (message on err) when there is none
// or its count does not give a capacity.
std::optional<int64_t> ProfileCapacity(const std::string& name, const std::string& profileFilePath,
                                       std::ostream& err) {
    const DiscProfiles profiles = LoadDiscProfiles(profileFilePath);
    for (size_t i = 0; i < profiles.names.size(); ++i) {
        if (profiles.names[i] != name)
            continue;
        try {
            return CapacityForChoice(profiles.CapacityList, static_cast<int>(i));
        } catch (const KetriloError& e) {
            err << "ketrilo --measure: " << e.what() << "\n";
            return std::nullopt;
        }
    }
    err << "ketrilo --measure: unknown profile " << name << "\n";
    return std::nullopt;
}

} // namespace

int RunMeasureCommand(const std::vector<std::string>& args, const std::string& profileFilePath,
                      std::ostream& out, std::ostream& err, DiscImage* image) {
    const std::optional<MeasureArguments> parsed = ParseArguments(args, err);
    if (!parsed)
        return 2;
    if (parsed->image && image == nullptr) {
        err << "ketrilo --measure: --image is not available in this build\n";
        return 2;
    }

    Workspace ws;
    if (parsed->profile) {
        const std::optional<int64_t> capacity =
            ProfileCapacity(*parsed->profile, profileFilePath, err);
        if (!capacity)
            return 2;
        ws.capacity.DiscCapacityClusters = *capacity;
    }

    std::vector<std::string> paths;
    bool unreachable = false;
    for (const std::string& path : parsed->paths) {
        const std::string dropped = AsDroppedPath(path);
        if (!Reachable(CanonicalPath(dropped))) {
            err << "ketrilo --measure: cannot reach " << EscapeControlCharacters(path) << ": "
                << std::strerror(errno) << "\n";
            unreachable = true;
            continue;
        }
        paths.push_back(dropped);
    }
    NoIcons icons;
    RegisterDroppedPaths(ws, paths, icons, [&err](const std::string& path) {
        err << "ketrilo --measure: counted once: " << EscapeControlCharacters(path) << "\n";
    });

    CapacityReport report;
    try {
        report = UpdateCapacityStatus(ws);
    } catch (const KetriloError& e) {
        err << "ketrilo --measure: " << e.what() << "\n";
        return 2;
    }

    for (const WellRow& row : ws.well.Rows())
        out << row.clusters << '\t' << row.bytes << '\t' << EscapeControlCharacters(row.FullPath())
            << '\n';
    for (const LongNameRow& row : ws.longNames.Rows())
        out << "long\t" << row.length << '\t' << EscapeControlCharacters(row.FullPath()) << '\n';
    std::optional<ImageReport> imageReport;
    if (parsed->image) {
        try {
            imageReport = image->Measure(ImageItemsOf(ws.well), nullptr);
        } catch (const std::exception& e) {
            err << "ketrilo --measure: " << e.what() << "\n";
            return 2;
        }
        out << "image\t" << imageReport->sectors << '\t' << imageReport->sectors * ClusterSize
            << '\n';
        for (const ImageFinding& finding : imageReport->findings)
            out << "check\t" << ImageFindingKeyword(finding.kind) << '\t'
                << EscapeControlCharacters(finding.path) << '\n';
    }
    out << report.statusLine << '\n';
    if (unreachable)
        return 2;
    const bool fits = imageReport ? ImageRemainingSectors(imageReport->sectors,
                                                          ws.capacity.DiscCapacityClusters) >= 0
                                  : report.remainingBytes >= 0;
    return fits ? 0 : 1;
}

} // namespace ketrilo
