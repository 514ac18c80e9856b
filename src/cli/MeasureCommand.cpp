#include "cli/MeasureCommand.h"

#include "cli/CommandWords.h"
#include "core/base/KetriloError.h"
#include "core/image/DiscImage.h"
#include "core/image/DiscImageStatus.h"
#include "core/text/EscapedText.h"
#include "core/text/NameRules.h"
#include "core/text/Numbers.h"
#include "core/workspace/IconSource.h"
#include "core/workspace/NoIcons.h"
#include "core/workspace/Registration.h"
#include "core/workspace/WorkspaceCommands.h"

#include <cstdint>
#include <exception>
#include <optional>
#include <ostream>

namespace ketrilo {

namespace {

constexpr const char* Usage = "usage: ketrilo --measure [--image] [--profile NAME] PATH... (in "
                              "the paths printed, \\\\ \\n \\t \\r and \\xHH stand for a "
                              "backslash, a control character or a byte that is not UTF-8)";

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
    // The image takes the records of the folders the walk reads, if it can.
    if (imageRequested)
        ws.walkWitness = dynamic_cast<FolderWitness*>(image);

    const std::vector<std::string> paths = ReachablePaths(parsed->paths, "measure", err);
    const bool unreachable = paths.size() != parsed->paths.size();
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
        out << "image\t" << imageReport->sectors << '\t' << BytesOnDisc(imageReport->sectors)
            << '\n';
        PrintImageFindings(imageReport->findings, "measure", out, err);
        if (imageReport->sectors > MaxImageSectors)
            err << "ketrilo --measure: the image would take more sectors than ISO 9660 can "
                   "number (4,294,967,295): no burner can make it\n";
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
