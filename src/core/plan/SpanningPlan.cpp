#include "core/plan/SpanningPlan.h"

#include "core/base/KetriloError.h"
#include "core/image/ArithmeticDiscImage.h"
#include "core/image/ImageLayout.h"
#include "core/plan/BinPacking.h"
#include "core/plan/PlanTree.h"
#include "core/text/EscapedText.h"
#include "core/text/Numbers.h"

#include <algorithm>
#include <map>
#include <set>

namespace ketrilo {

namespace {

// Repairs move items between discs and measure again; past this many rounds the
// items that leave a disc get new discs, which always ends.
constexpr size_t RepairRoundsBeforeNewDiscs = 6;

// The parts' costs add up to a disc's image but for the rounding of what its parts share,
// kept free on every disc: each of the four path tables is whole sectors (under a sector
// more each), and so is the root's extent in each tree, whose records never cross a
// sector (under two more each while the root's records take under eight sectors). Where a
// disc needs more (a crowded root, a cost that libisofs alone knows), its measure repairs it.
constexpr int64_t SharedRounding = 8;

class Planner {
public:
    Planner(const std::vector<std::string>& paths, int64_t capacity, DiscImage& image,
            WorkProgress* progress)
        : m_paths(paths), m_capacity(capacity), m_image(&image), m_progress(progress) {}

    SpanningPlan Run() {
        SpanningPlan plan;
        plan.capacity = m_capacity;
        m_image->Forget();
        // The image takes the folders the scan reads, and measures the whole well from them.
        m_tree = ScanPlanTree(m_paths, m_progress, dynamic_cast<FolderWitness*>(m_image));
        if (m_progress != nullptr)
            m_progress->StopCounting(); // every file is counted: the images read them again
        const ImageReport whole = m_image->Measure(RootItems(), m_progress);
        m_fixed = m_image->Measure({}, m_progress).sectors;
        if (m_fixed >= m_capacity)
            throw KetriloError("ディスクの容量が小さすぎて、空のイメージも入りません");
        plan.imageSectors = whole.sectors;
        std::vector<std::string> refused;
        for (const ImageFinding& finding : whole.findings) {
            if (finding.kind == ImageFindingKind::Refused) {
                plan.refused.push_back(finding);
                refused.push_back(finding.path);
            }
        }
        LeaveOutOfImage(m_tree, refused);

        std::vector<std::vector<uint32_t>> discs;
        std::vector<int64_t> sectors;
        for (;;) {
            m_tooLarge.clear();
            std::vector<uint32_t> parts;
            for (uint32_t root : m_tree.roots)
                Expand(root, parts);
            discs = Join(Pack(parts));
            const int32_t split = Verify(discs, sectors);
            if (split < 0)
                break;
            // A lone item that does not fit is split from now on and never joined again,
            // so every round splits a node no earlier round did: there are only so many.
            if (!m_forcedSplits.insert(static_cast<uint32_t>(split)).second)
                throw KetriloError("ディスクの割り振りが終わりません (" +
                                   EscapeControlCharacters(m_tree.nodes[split].diskPath) +
                                   " を何度分けても入りません)");
        }
        Prove(discs, sectors, plan.disagreements);
        for (size_t d = 0; d < discs.size(); ++d)
            plan.discs.push_back(Disc(discs[d], sectors[d]));
        // Files left out take their data and, at most, a sector of records with them.
        int64_t planned = plan.imageSectors;
        for (uint32_t node : m_tooLarge) {
            plan.tooLarge.push_back(m_tree.nodes[node].diskPath);
            planned -= m_tree.nodes[node].dataBytes / ImageSectorBytes + 1;
        }
        planned = std::max<int64_t>(planned, 0);
        plan.lowerBound = planned / m_capacity + (planned % m_capacity != 0);
        return plan;
    }

private:
    std::vector<ImageItem> RootItems() const {
        std::vector<ImageItem> items;
        for (uint32_t root : m_tree.roots)
            items.push_back({m_tree.nodes[root].name, m_tree.nodes[root].diskPath});
        return items;
    }

    // What the part adds to the image of a disc whose root holds it. It saturates: a
    // sparse file may be as large as a size can be.
    int64_t PartCost(uint32_t node) const {
        const PlanNode& n = m_tree.nodes[node];
        return SaturatingAdd(n.recordBytes, n.contentBytes);
    }
    int64_t BinBytes() const { return (m_capacity - m_fixed - SharedRounding) * ImageSectorBytes; }

    bool FitsAlone(uint32_t node) const {
        return PartCost(node) <= BinBytes() && !m_forcedSplits.contains(node);
    }

    // The packing keeps room for the rounding: what it cannot split further is measured
    // alone before it is called too large, so that a file filling a disc to its last
    // sector gets one.
    bool MeasuredFitsAlone(uint32_t node) {
        if (m_forcedSplits.contains(node))
            return false;
        const auto [known, added] = m_measuredAlone.emplace(node, false);
        if (added)
            known->second = m_image->Measure(ImageItems({node}), m_progress).sectors <= m_capacity;
        return known->second;
    }

    // The node whole when it fits a disc alone; otherwise its children, recursively.
    void Expand(uint32_t node, std::vector<uint32_t>& parts) {
        const PlanNode& n = m_tree.nodes[node];
        if (FitsAlone(node))
            parts.push_back(node);
        else if (n.isFolder && !n.children.empty())
            for (uint32_t child : n.children)
                Expand(child, parts);
        else if (MeasuredFitsAlone(node))
            parts.push_back(node);
        else
            m_tooLarge.push_back(node);
    }

    struct Packing {
        std::vector<uint32_t> parts;
        std::vector<std::vector<uint32_t>> discs;
    };

    // Every part lands at the disc's root under its own name, as a drop into a burner
    // places it: two parts of one name never share a disc.
    PackProblem Problem(const std::vector<uint32_t>& parts) const {
        PackProblem problem;
        problem.capacity = BinBytes();
        std::map<std::string, uint32_t> nameIds;
        for (uint32_t node : parts)
            problem.items.push_back(
                {PartCost(node),
                 nameIds.emplace(m_tree.nodes[node].name, nameIds.size()).first->second});
        return problem;
    }

    std::vector<std::vector<uint32_t>> Discs(const std::vector<uint32_t>& parts,
                                             const PackedBins& bins) const {
        std::vector<std::vector<uint32_t>> discs(bins.Count());
        for (size_t b = 0; b < bins.Count(); ++b)
            for (uint32_t item : bins.Items(b))
                discs[b].push_back(parts[item]);
        return discs;
    }

    // Packs the parts; while that takes more discs than their cost needs, the costliest
    // folders are split too (one, then two, four, ...) and the best packing is kept. The
    // children are expanded as the items are: one that overflowed a disc alone is split
    // or too large, not packed again.
    std::vector<std::vector<uint32_t>> Pack(std::vector<uint32_t> parts) {
        PackProblem problem = Problem(parts);
        std::vector<std::vector<uint32_t>> best = Discs(parts, PackBins(problem, m_progress));
        std::vector<uint32_t> bestTooLarge = m_tooLarge;
        for (size_t count = 1;; count *= 2) {
            int64_t total = 0;
            for (const PackItem& item : problem.items)
                total = SaturatingAdd(total, item.cost);
            if (static_cast<int64_t>(best.size()) <=
                (total + problem.capacity - 1) / problem.capacity)
                break;
            std::vector<uint32_t> folders;
            for (uint32_t node : parts)
                if (!m_tree.nodes[node].children.empty())
                    folders.push_back(node);
            if (folders.empty())
                break;
            std::stable_sort(folders.begin(), folders.end(),
                             [this](uint32_t a, uint32_t b) { return PartCost(a) > PartCost(b); });
            folders.resize(std::min(count, folders.size()));
            std::vector<uint32_t> finer;
            for (uint32_t node : parts) {
                if (std::find(folders.begin(), folders.end(), node) == folders.end())
                    finer.push_back(node);
                else
                    for (uint32_t child : m_tree.nodes[node].children)
                        Expand(child, finer);
            }
            parts = std::move(finer);
            problem = Problem(parts);
            std::vector<std::vector<uint32_t>> packed = Discs(parts, PackBins(problem, m_progress));
            if (packed.size() < best.size()) {
                best = std::move(packed);
                bestTooLarge = m_tooLarge;
            }
        }
        m_tooLarge = std::move(bestTooLarge);
        return best;
    }

    // A split folder whose parts all ended on one disc goes there whole again, unless
    // its name is already taken at that disc's root.
    std::vector<std::vector<uint32_t>> Join(const std::vector<std::vector<uint32_t>>& discs) const {
        std::vector<int32_t> discOf(m_tree.nodes.size(), -2); // -2: not planned, -1: mixed
        std::vector<std::multiset<std::string>> names(discs.size());
        for (size_t d = 0; d < discs.size(); ++d)
            for (uint32_t node : discs[d]) {
                discOf[node] = static_cast<int32_t>(d);
                names[d].insert(m_tree.nodes[node].name);
            }
        for (size_t i = m_tree.nodes.size(); i-- > 0;) {
            const PlanNode& n = m_tree.nodes[i];
            if (discOf[i] != -2 || n.children.empty())
                continue;
            int32_t common = discOf[n.children.front()];
            for (uint32_t child : n.children)
                if (discOf[child] != common)
                    common = -1;
            // A folder split because it overflowed a disc alone stays split.
            discOf[i] =
                common < 0 || m_forcedSplits.contains(static_cast<uint32_t>(i)) ? -1 : common;
            if (discOf[i] < 0)
                continue;
            std::multiset<std::string>& taken = names[static_cast<size_t>(common)];
            for (uint32_t child : n.children)
                taken.erase(taken.find(m_tree.nodes[child].name));
            if (taken.contains(n.name)) {
                discOf[i] = -1;
                for (uint32_t child : n.children)
                    taken.insert(m_tree.nodes[child].name);
            } else {
                taken.insert(n.name);
            }
        }
        std::vector<std::vector<uint32_t>> joined(discs.size());
        std::vector<uint32_t> stack(m_tree.roots.rbegin(), m_tree.roots.rend());
        while (!stack.empty()) {
            const uint32_t node = stack.back();
            stack.pop_back();
            if (discOf[node] >= 0) {
                joined[static_cast<size_t>(discOf[node])].push_back(node);
            } else if (discOf[node] == -1) {
                const std::vector<uint32_t>& children = m_tree.nodes[node].children;
                stack.insert(stack.end(), children.rbegin(), children.rend());
            }
        }
        return joined;
    }

    std::vector<ImageItem> ImageItems(const std::vector<uint32_t>& nodes) const {
        std::vector<ImageItem> items;
        for (uint32_t node : nodes)
            items.push_back({m_tree.nodes[node].name, m_tree.nodes[node].diskPath});
        return items;
    }

    // Each disc measured again by the judge, if the image has one; a disc it measures
    // otherwise is named, and the discs are repaired by the judge's figures alone.
    void Prove(std::vector<std::vector<uint32_t>>& discs, std::vector<int64_t>& sectors,
               std::vector<std::string>& disagreements) {
        DiscImage* judge = m_image->Judge();
        if (judge == nullptr)
            return;
        bool agreed = true;
        for (size_t d = 0; d < discs.size(); ++d) {
            const std::vector<ImageItem> items = ImageItems(discs[d]);
            const int64_t judged = judge->Measure(items, m_progress).sectors;
            const std::string difference = Disagreement(items, sectors[d], judged);
            if (!difference.empty()) {
                disagreements.push_back("disc " + std::to_string(d + 1) + ": " + difference);
                agreed = false;
            }
        }
        if (agreed)
            return;
        m_image = judge;
        if (Verify(discs, sectors) >= 0)
            throw KetriloError("libisofs の測るイメージがディスクに入りません");
    }

    // Measures every disc (into real) and moves items out of those that overflow until
    // all fit. Returns -1 when done, or a node that overflows a disc alone.
    int32_t Verify(std::vector<std::vector<uint32_t>>& discs, std::vector<int64_t>& real) {
        real.assign(discs.size(), -1);
        // Past the repair rounds, each round moves some items of every overflowing disc
        // to a new disc: the items beyond the first of each disc decrease, so it ends
        // within as many rounds as there are items.
        size_t items = 0;
        for (const std::vector<uint32_t>& disc : discs)
            items += disc.size();
        const size_t lastRound = RepairRoundsBeforeNewDiscs + items;
        for (size_t round = 0;; ++round) {
            if (round > lastRound)
                throw KetriloError("ディスクの割り振りが " + std::to_string(lastRound) +
                                   " 回の測り直しで終わりません");
            bool over = false;
            for (size_t d = 0; d < discs.size(); ++d) {
                if (real[d] < 0)
                    real[d] = m_image->Measure(ImageItems(discs[d]), m_progress).sectors;
                over = over || real[d] > m_capacity;
            }
            if (!over)
                return -1;
            // Sectors moved onto each measured disc this round, by their costs: a disc
            // with room takes items until that room is spent, and is measured again next.
            std::vector<int64_t> added(discs.size(), 0);
            for (size_t d = 0; d < discs.size(); ++d) {
                if (real[d] <= m_capacity)
                    continue;
                if (discs[d].size() == 1)
                    return static_cast<int32_t>(discs[d].front());
                const std::vector<uint32_t> leaving = Leaving(discs[d], real[d] - m_capacity);
                for (uint32_t node : leaving)
                    discs[d].erase(std::find(discs[d].begin(), discs[d].end(), node));
                real[d] = -1;
                // The items no other disc has room for share one new disc, which is
                // measured and repaired in turn: one disc each would leave discs nearly
                // empty wherever the costs are low.
                size_t fresh = discs.size();
                for (uint32_t node : leaving) {
                    size_t to = round < RepairRoundsBeforeNewDiscs
                                    ? Room(discs, real, added, node, d)
                                    : discs.size();
                    if (to == discs.size()) {
                        if (fresh == discs.size()) {
                            discs.emplace_back();
                            real.push_back(-1);
                            added.push_back(0);
                        }
                        to = fresh;
                    }
                    discs[to].push_back(node);
                    added[to] = SaturatingAdd(added[to], PartSectors(node));
                }
            }
            for (size_t d = 0; d < discs.size(); ++d)
                if (added[d] > 0)
                    real[d] = -1;
        }
    }

    // The items that leave a disc excess sectors over: the cheapest one that frees
    // enough, or else the costliest ones until enough is freed; never all of them.
    std::vector<uint32_t> Leaving(std::vector<uint32_t> nodes, int64_t excess) const {
        const int64_t need = BytesOnDisc(SaturatingAdd(excess, 1)); // a sector is a cluster
        std::stable_sort(nodes.begin(), nodes.end(),
                         [this](uint32_t a, uint32_t b) { return PartCost(a) < PartCost(b); });
        for (uint32_t node : nodes)
            if (PartCost(node) >= need)
                return {node};
        std::vector<uint32_t> leaving;
        int64_t freed = 0;
        for (size_t i = nodes.size(); i-- > 1 && freed < need;) {
            leaving.push_back(nodes[i]);
            freed = SaturatingAdd(freed, PartCost(nodes[i]));
        }
        return leaving;
    }

    // The first disc other than from whose measured room, less what it took this round,
    // takes the node with the rounding's room to spare; discs.size() when none does.
    size_t Room(const std::vector<std::vector<uint32_t>>& discs, const std::vector<int64_t>& real,
                const std::vector<int64_t>& added, uint32_t node, size_t from) const {
        const int64_t sectors = PartSectors(node);
        for (size_t d = 0; d < discs.size(); ++d)
            if (d != from && real[d] >= 0 &&
                SaturatingAdd(real[d] + added[d], sectors) + SharedRounding <= m_capacity &&
                !Collides(discs[d], node))
                return d;
        return discs.size();
    }
    int64_t PartSectors(uint32_t node) const {
        return ClustersFor(ImageSectorBytes, PartCost(node));
    }
    bool Collides(const std::vector<uint32_t>& disc, uint32_t node) const {
        return std::any_of(disc.begin(), disc.end(), [this, node](uint32_t other) {
            return m_tree.nodes[other].name == m_tree.nodes[node].name;
        });
    }

    PlannedDisc Disc(std::vector<uint32_t> nodes, int64_t sectors) const {
        std::sort(nodes.begin(), nodes.end());
        PlannedDisc disc;
        for (uint32_t node : nodes) {
            const PlanNode& n = m_tree.nodes[node];
            disc.items.push_back({n.name, n.diskPath, n.isFolder, n.wellClusters});
            disc.clusters += n.wellClusters;
        }
        disc.sectors = sectors;
        return disc;
    }

    const std::vector<std::string>& m_paths;
    int64_t m_capacity;
    DiscImage* m_image; // the judge's, once it proves the discs
    WorkProgress* m_progress;
    PlanTree m_tree;
    int64_t m_fixed = 0;
    std::set<uint32_t> m_forcedSplits;
    std::map<uint32_t, bool> m_measuredAlone;
    std::vector<uint32_t> m_tooLarge;
};

} // namespace

std::vector<ImageItem> ImageItemsOf(const PlannedDisc& disc) {
    std::vector<ImageItem> items;
    for (const PlannedItem& item : disc.items)
        items.push_back({item.imagePath, item.diskPath});
    return items;
}

SpanningPlan PlanDiscs(const std::vector<std::string>& paths, int64_t capacity, DiscImage& image,
                       WorkProgress* progress) {
    return Planner(paths, capacity, image, progress).Run();
}

} // namespace ketrilo
