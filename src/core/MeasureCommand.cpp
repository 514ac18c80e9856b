#include "MeasureCommand.h"

#include "CanonicalPath.h"
#include "CommandWords.h"
#include "DiscImage.h"
#include "EscapedText.h"
#include "IconSource.h"
#include "ImageStatus.h"
#include "KetriloError.h"
#include "NameRules.h"
#include "NoIcons.h"
#include "OpenByPath.h"
#include "Registration.h"
#include "Workspace.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <exception>
#include <optional>
#include <ostream>

namespace ketrilo {

namespace {

constexpr const char* Usage = "usage: ketrilo --measure [--image] [--profile NAME] PATH... (in "
                              "the paths printed, \\\\ \\n \\t \\r and \\xHH stand for a "
                              "backslash, a control character or a byte that is not UTF-8)";

// False (errno set) when nothing is found at path, as the registration spells it: a typo
// must not read as an empty item.
bool Reachable(const std::string& path) {
    struct stat status;
    return StatByPath(path, status);
}

} // namespace

int RunMeasureCommand(const std::vector<std::string>& args, const std::string& profileFilePath,
                      std::ostream& out, std::ostream& err, DiscImage* image) {
    const std::optional<CommandWords> parsed =
        ParseCommandWords(args, "measure", {"--profile"}, {"--image"}, Usage, err);
    if (!parsed)
        return 2;
    const bool imageRequested = parsed->flags.contains("--image");
    if (imageRequested && image == nullptr) {
        err << "ketrilo --measure: --image is not available in this build\n";
        return 2;
    }

    const std::optional<int64_t> capacity =
        ChosenCapacity(*parsed, profileFilePath, "measure", err);
    if (!capacity)
        return 2;
    Workspace ws;
    ws.capacity.DiscCapacityClusters = *capacity;

    std::vector<std::string> paths;
    bool unreachable = false;
    for (const std::string& path : parsed->paths) {
        if (!Reachable(CanonicalPath(path))) {
            err << "ketrilo --measure: cannot reach " << EscapeControlCharacters(path) << ": "
                << std::strerror(errno) << "\n";
            unreachable = true;
            continue;
        }
        paths.push_back(path);
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
    if (imageRequested) {
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
    const bool fits = imageReport ? ImageCanBeMade(*imageReport) &&
                                        ImageRemainingSectors(imageReport->sectors,
                                                              ws.capacity.DiscCapacityClusters) >= 0
                                  : report.remainingBytes >= 0;
    return fits ? 0 : 1;
}

} // namespace ketrilo
