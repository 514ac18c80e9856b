#include "cli/FillCommand.h"

#include "cli/CommandWords.h"
#include "core/disk/CanonicalPath.h"
#include "core/image/DiscImageStatus.h"
#include "core/plan/FillSearch.h"
#include "core/text/EscapedText.h"
#include "core/text/NameRules.h"
#include "core/text/Paths.h"

#include <exception>
#include <optional>
#include <ostream>

namespace ketrilo {

namespace {

constexpr const char* Usage =
    "usage: ketrilo --fill [--profile NAME] [--well PATH]... CANDIDATE... (in the paths "
    "printed, \\\\ \\n \\t \\r and \\xHH stand for a backslash, a control character or a "
    "byte that is not UTF-8)";

// Each path at the image's root under its own name, as the well's rows are.
std::vector<ImageItem> RootItems(const std::vector<std::string>& paths) {
    std::vector<ImageItem> items;
    for (const std::string& path : paths) {
        const std::string canonical = CanonicalPath(path);
        items.push_back({SplitFullPath(canonical).name, canonical});
    }
    return items;
}

} // namespace

int RunFillCommand(const std::vector<std::string>& args, const std::string& profileFilePath,
                   DiscImage& image, std::ostream& out, std::ostream& err) {
    const std::optional<CommandWords> parsed =
        ParseCommandWords(args, "fill", {"--profile"}, {}, Usage, err, {"--well"});
    if (!parsed)
        return 2;
    const std::optional<int64_t> capacity = ChosenCapacity(*parsed, profileFilePath, "fill", err);
    if (!capacity)
        return 2;
    const auto well = parsed->pathLists.find("--well");
    const std::vector<std::string> named =
        well == parsed->pathLists.end() ? std::vector<std::string>{} : well->second;
    const std::vector<std::string> onDisc = ReachablePaths(named, "fill", err);
    const std::vector<std::string> candidates = ReachablePaths(parsed->paths, "fill", err);
    const bool unreachable =
        onDisc.size() != named.size() || candidates.size() != parsed->paths.size();

    DiscFill fill;
    try {
        fill = FillDisc(RootItems(onDisc), candidates, *capacity, image, nullptr);
    } catch (const std::exception& e) {
        err << "ketrilo --fill: " << e.what() << "\n";
        return 2;
    }
    if (!fill.disagreement.empty())
        err << "ketrilo --fill: warning: " << fill.disagreement << "\n";
    for (size_t i : fill.chosen)
        out << EscapeControlCharacters(candidates[i]) << '\n';
    out << "image\t" << fill.sectorsAfter << '\t' << fill.sectorsAfter * ClusterSize << '\n'
        << "free\t" << ImageRemainingSectors(fill.sectorsAfter, *capacity) << '\n';
    if (unreachable)
        return 2;
    return fill.chosen.empty() ? 1 : 0;
}

} // namespace ketrilo
