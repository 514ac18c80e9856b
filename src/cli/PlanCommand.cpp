#include "cli/PlanCommand.h"

#include "cli/CommandWords.h"
#include "cli/GraftList.h"
#include "core/disk/CanonicalPath.h"
#include "core/plan/SpanningPlan.h"
#include "core/text/EscapedText.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <ostream>

namespace ketrilo {

namespace {

constexpr const char* Usage =
    "usage: ketrilo --plan [--profile NAME] [--out DIR] PATH... (in the paths printed, \\\\ "
    "\\n \\t \\r and \\xHH stand for a backslash, a control character or a byte that is not "
    "UTF-8)";

// Each entry once, in the order first given: an entry named twice would be planned twice.
std::vector<std::string> OncePerEntry(const std::vector<std::string>& paths, std::ostream& err) {
    std::vector<std::string> once, entries;
    for (const std::string& path : paths) {
        const std::string entry = CanonicalPath(path);
        if (std::find(entries.begin(), entries.end(), entry) != entries.end()) {
            err << "ketrilo --plan: counted once: " << EscapeControlCharacters(path) << "\n";
            continue;
        }
        entries.push_back(entry);
        once.push_back(path);
    }
    return once;
}

void PrintPlan(const SpanningPlan& plan, std::ostream& out) {
    for (size_t d = 0; d < plan.discs.size(); ++d) {
        const PlannedDisc& disc = plan.discs[d];
        out << "disc\t" << d + 1 << '\t' << disc.sectors << '\t' << disc.clusters << '\n';
        for (const PlannedItem& item : disc.items)
            out << "item\t" << EscapeControlCharacters(item.imagePath) << '\t'
                << EscapeControlCharacters(item.diskPath) << '\n';
        out << '\n';
    }
    for (const std::string& path : plan.tooLarge)
        out << "large\t" << EscapeControlCharacters(path) << '\n';
    out << "discs\t" << plan.discs.size() << '\t' << plan.lowerBound << '\n';
}

} // namespace

int RunPlanCommand(const std::vector<std::string>& args, const std::string& profileFilePath,
                   DiscImage& image, std::ostream& out, std::ostream& err) {
    const std::optional<CommandWords> parsed =
        ParseCommandWords(args, "plan", {"--profile", "--out"}, {}, Usage, err);
    if (!parsed)
        return 2;
    const auto outFolder = parsed->values.find("--out");
    if (outFolder != parsed->values.end() && outFolder->second.empty()) {
        err << "ketrilo --plan: --out names no folder\n";
        return 2;
    }
    const std::optional<int64_t> capacity = ChosenCapacity(*parsed, profileFilePath, "plan", err);
    if (!capacity)
        return 2;
    const std::vector<std::string> reachable = ReachablePaths(parsed->paths, "plan", err);
    const std::vector<std::string> paths = OncePerEntry(reachable, err);
    if (paths.empty())
        return 2;
    try {
        const SpanningPlan plan = PlanDiscs(paths, *capacity, image, nullptr);
        for (const std::string& disagreement : plan.disagreements)
            err << "ketrilo --plan: warning: " << disagreement << "\n";
        std::vector<std::string> lists;
        if (outFolder != parsed->values.end())
            lists = WriteGraftLists(plan, outFolder->second);
        PrintPlan(plan, out);
        for (const std::string& list : lists)
            out << "list\t" << EscapeControlCharacters(list) << '\n';
        PrintImageFindings(plan.refused, "plan", out, err);
        if (reachable.size() != parsed->paths.size())
            return 2;
        return plan.tooLarge.empty() && plan.refused.empty() ? 0 : 1;
    } catch (const std::exception& e) {
        // A refusal of the library's that is no single entry's, or memory running out;
        // the messages name their paths escaped.
        err << "ketrilo --plan: " << e.what() << "\n";
        return 2;
    }
}

} // namespace ketrilo
