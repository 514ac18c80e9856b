#include "PlanCommand.h"

#include "CommandWords.h"
#include "GraftList.h"
#include "KetriloError.h"
#include "SpanningPlan.h"

#include <optional>
#include <ostream>

namespace ketrilo {

namespace {

constexpr const char* Usage = "usage: ketrilo --plan [--profile NAME] [--out DIR] PATH...";

void PrintPlan(const SpanningPlan& plan, std::ostream& out) {
    for (size_t d = 0; d < plan.discs.size(); ++d) {
        const PlannedDisc& disc = plan.discs[d];
        out << "disc\t" << d + 1 << '\t' << disc.sectors << '\t' << disc.clusters << '\n';
        for (const PlannedItem& item : disc.items)
            out << "item\t" << item.imagePath << '\t' << item.diskPath << '\n';
        out << '\n';
    }
    for (const std::string& path : plan.tooLarge)
        out << "large\t" << path << '\n';
    out << "discs\t" << plan.discs.size() << '\t' << plan.lowerBound << '\n';
}

} // namespace

int RunPlanCommand(const std::vector<std::string>& args, const std::string& profileFilePath,
                   DiscImage& image, std::ostream& out, std::ostream& err) {
    const std::optional<CommandWords> parsed =
        ParseCommandWords(args, "plan", {"--profile", "--out"}, {}, Usage, err);
    if (!parsed)
        return 2;
    const std::optional<int64_t> capacity = ChosenCapacity(*parsed, profileFilePath, "plan", err);
    if (!capacity)
        return 2;
    try {
        const SpanningPlan plan = PlanDiscs(parsed->paths, *capacity, image, nullptr);
        std::vector<std::string> lists;
        if (parsed->values.contains("--out"))
            lists = WriteGraftLists(plan, parsed->values.at("--out"));
        PrintPlan(plan, out);
        for (const std::string& list : lists)
            out << "list\t" << list << '\n';
        return plan.tooLarge.empty() ? 0 : 1;
    } catch (const KetriloError& e) {
        err << "ketrilo --plan: " << e.what() << "\n";
        return 2;
    }
}

} // namespace ketrilo
