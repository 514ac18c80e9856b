#include "SpanningPlan.h"

#include "BinPacking.h"
#include "ImageEstimate.h"
#include "KetriloError.h"
#include "Numbers.h"
#include "PlanTree.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <unordered_map>

namespace ketrilo {

namespace {

// Repairs move items between discs and measure again; past this many rounds the
// items that leave a disc get new discs, which always ends.
constexpr int RepairRoundsBeforeNewDiscs = 6;

class Planner {
public:
    Planner(const std::vector<std::string>& paths, int64_t capacity, DiscImage& image,
            WorkProgress* progress)
        : m_capacity(capacity), m_image(image), m_progress(progress),
          m_tree(ScanPlanTree(paths, progress)) {}

    SpanningPlan Run() {
        SpanningPlan plan;
        plan.capacity = m_capacity;
        if (m_progress != nullptr)
            m_progress->StopCounting(); // every file is counted: the images read them again
        m_fixed = m_image.Measure({}, m_progress).sectors;
        if (m_fixed >= m_capacity)
            throw KetriloError("ディスクの容量が小さすぎて、空のイメージも入りません");
        plan.imageSectors = m_image.Measure(RootItems(), m_progress).sectors;
        Calibrate(plan.imageSectors);

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
            m_forcedSplits.insert(static_cast<uint32_t>(split)); // a lone item that does not fit
        }
        for (size_t d = 0; d < discs.size(); ++d)
            plan.discs.push_back(Disc(discs[d], sectors[d]));
        // Files left out take their data and, at most, a sector of records with them.
        int64_t planned = plan.imageSectors;
        for (uint32_t node : m_tooLarge) {
            plan.tooLarge.push_back(m_tree.nodes[node].diskPath);
            planned -= m_tree.nodes[node].dataBytes / ImageSectorBytes + 1;
        }
        plan.lowerBound = (std::max<int64_t>(planned, 0) + m_capacity - 1) / m_capacity;
        return plan;
    }

private:
    std::vector<ImageItem> RootItems() const {
        std::vector<ImageItem> items;
        for (uint32_t root : m_tree.roots)
            items.push_back({m_tree.nodes[root].name, m_tree.nodes[root].diskPath});
        return items;
    }

    // Scales the estimate's overhead (everything but file data) to what the image of
    // the whole well really needs.
    void Calibrate(int64_t imageSectors) {
        int64_t estimated = 0, data = 0;
        for (uint32_t root : m_tree.roots) {
            const PlanNode& n = m_tree.nodes[root];
            estimated += n.recordBytes + n.contentBytes - n.dataBytes;
            data += n.dataBytes;
        }
        const int64_t real = (imageSectors - m_fixed) * ImageSectorBytes - data;
        if (estimated > 0 && real > 0)
            m_ratio =
                std::clamp(static_cast<double>(real) / static_cast<double>(estimated), 0.5, 4.0);
        // Room kept free on each disc for what the estimate misses: half a percent of
        // the overhead a full disc carries.
        const double overheadShare = imageSectors > 0
                                         ? static_cast<double>(std::max<int64_t>(real, 0)) /
                                               static_cast<double>(imageSectors) / ImageSectorBytes
                                         : 0.0;
        m_margin =
            1 + static_cast<int64_t>(overheadShare * static_cast<double>(m_capacity) / 200.0);
    }

    int64_t Scaled(int64_t bytes, int64_t data) const {
        return data + static_cast<int64_t>(std::ceil(static_cast<double>(bytes - data) * m_ratio));
    }
    int64_t PartCost(uint32_t node) const {
        const PlanNode& n = m_tree.nodes[node];
        return Scaled(n.recordBytes + n.contentBytes, n.dataBytes);
    }
    int64_t FolderCost(uint32_t node) const {
        return Scaled(m_tree.nodes[node].recordBytes + FolderExtentBytes(0), 0);
    }
    std::vector<uint32_t> Ancestors(uint32_t node) const {
        std::vector<uint32_t> chain;
        for (int32_t p = m_tree.nodes[node].parent; p >= 0; p = m_tree.nodes[p].parent)
            chain.push_back(static_cast<uint32_t>(p));
        return chain;
    }
    int64_t BinBytes() const { return (m_capacity - m_fixed - m_margin) * ImageSectorBytes; }

    bool FitsAlone(uint32_t node) const {
        int64_t cost = PartCost(node);
        for (uint32_t a : Ancestors(node))
            cost += FolderCost(a);
        return cost <= BinBytes() && !m_forcedSplits.contains(node);
    }

    // The node whole when it fits a disc alone; otherwise its children, recursively.
    void Expand(uint32_t node, std::vector<uint32_t>& parts) {
        const PlanNode& n = m_tree.nodes[node];
        if (FitsAlone(node))
            parts.push_back(node);
        else if (n.isFolder && !n.children.empty())
            for (uint32_t child : n.children)
                Expand(child, parts);
        else
            m_tooLarge.push_back(node);
    }

    struct Packing {
        std::vector<uint32_t> parts;
        std::vector<std::vector<uint32_t>> discs;
    };

    PackProblem Problem(const std::vector<uint32_t>& parts) const {
        PackProblem problem;
        problem.capacity = BinBytes();
        std::unordered_map<uint32_t, uint32_t> folderIds;
        std::map<std::string, uint32_t> nameIds;
        for (uint32_t node : parts) {
            PackItem item;
            item.cost = PartCost(node);
            const std::vector<uint32_t> chain = Ancestors(node);
            for (uint32_t a : chain) {
                const auto [it, added] =
                    folderIds.emplace(a, static_cast<uint32_t>(problem.folderCost.size()));
                if (added)
                    problem.folderCost.push_back(FolderCost(a));
                item.folders.push_back(it->second);
            }
            const uint32_t root = chain.empty() ? node : chain.back();
            item.owner = root;
            item.rootName = nameIds.emplace(m_tree.nodes[root].name, nameIds.size()).first->second;
            problem.items.push_back(std::move(item));
        }
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
    // folders are split too (one, then two, four, ...) and the best packing is kept.
    std::vector<std::vector<uint32_t>> Pack(std::vector<uint32_t> parts) {
        PackProblem problem = Problem(parts);
        std::vector<std::vector<uint32_t>> best = Discs(parts, PackBins(problem, m_progress));
        for (size_t count = 1;; count *= 2) {
            int64_t total = 0;
            for (const PackItem& item : problem.items)
                total += item.cost;
            for (int64_t cost : problem.folderCost)
                total += cost;
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
                    finer.insert(finer.end(), m_tree.nodes[node].children.begin(),
                                 m_tree.nodes[node].children.end());
            }
            parts = std::move(finer);
            problem = Problem(parts);
            std::vector<std::vector<uint32_t>> packed = Discs(parts, PackBins(problem, m_progress));
            if (packed.size() < best.size())
                best = std::move(packed);
        }
        return best;
    }

    // A split folder whose parts all ended on one disc goes there whole again.
    std::vector<std::vector<uint32_t>> Join(const std::vector<std::vector<uint32_t>>& discs) const {
        std::vector<int32_t> discOf(m_tree.nodes.size(), -2); // -2: not planned, -1: mixed
        for (size_t d = 0; d < discs.size(); ++d)
            for (uint32_t node : discs[d])
                discOf[node] = static_cast<int32_t>(d);
        for (size_t i = m_tree.nodes.size(); i-- > 0;) {
            const PlanNode& n = m_tree.nodes[i];
            if (discOf[i] != -2 || n.children.empty())
                continue;
            int32_t common = discOf[n.children.front()];
            for (uint32_t child : n.children)
                if (discOf[child] != common)
                    common = -1;
            discOf[i] = common < 0 ? -1 : common;
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
            items.push_back({ImagePath(node), m_tree.nodes[node].diskPath});
        return items;
    }
    std::string ImagePath(uint32_t node) const {
        std::string path = m_tree.nodes[node].name;
        for (int32_t p = m_tree.nodes[node].parent; p >= 0; p = m_tree.nodes[p].parent)
            path = m_tree.nodes[p].name + "/" + path;
        return path;
    }

    // Measures every disc (into real) and moves items out of those that overflow until
    // all fit. Returns -1 when done, or a node that overflows a disc alone.
    int32_t Verify(std::vector<std::vector<uint32_t>>& discs, std::vector<int64_t>& real) {
        real.assign(discs.size(), -1);
        for (int round = 0;; ++round) {
            bool over = false;
            for (size_t d = 0; d < discs.size(); ++d) {
                if (real[d] < 0)
                    real[d] = m_image.Measure(ImageItems(discs[d]), m_progress).sectors;
                over = over || real[d] > m_capacity;
            }
            if (!over)
                return -1;
            for (size_t d = 0; d < discs.size(); ++d) {
                if (real[d] <= m_capacity)
                    continue;
                if (discs[d].size() == 1)
                    return static_cast<int32_t>(discs[d].front());
                const std::vector<uint32_t> leaving = Leaving(discs[d], real[d] - m_capacity);
                for (uint32_t node : leaving)
                    discs[d].erase(std::find(discs[d].begin(), discs[d].end(), node));
                real[d] = -1;
                for (uint32_t node : leaving) {
                    const size_t to = round < RepairRoundsBeforeNewDiscs
                                          ? Room(discs, real, node, d)
                                          : discs.size();
                    if (to == discs.size()) {
                        discs.emplace_back();
                        real.push_back(-1);
                    }
                    discs[to].push_back(node);
                    real[to] = -1;
                }
            }
        }
    }

    // The items that leave a disc excess sectors over: the cheapest one that frees
    // enough, or else the costliest ones until enough is freed; never all of them.
    std::vector<uint32_t> Leaving(std::vector<uint32_t> nodes, int64_t excess) const {
        const int64_t need = (excess + 1) * ImageSectorBytes;
        std::stable_sort(nodes.begin(), nodes.end(),
                         [this](uint32_t a, uint32_t b) { return PartCost(a) < PartCost(b); });
        for (uint32_t node : nodes)
            if (PartCost(node) >= need)
                return {node};
        std::vector<uint32_t> leaving;
        int64_t freed = 0;
        for (size_t i = nodes.size(); i-- > 1 && freed < need;) {
            leaving.push_back(nodes[i]);
            freed += PartCost(nodes[i]);
        }
        return leaving;
    }

    // The first disc other than from whose measured room takes the node with the margin
    // to spare; discs.size() when none does.
    size_t Room(const std::vector<std::vector<uint32_t>>& discs, const std::vector<int64_t>& real,
                uint32_t node, size_t from) const {
        int64_t cost = PartCost(node);
        for (uint32_t a : Ancestors(node))
            cost += FolderCost(a);
        const int64_t sectors = ClustersFor(ImageSectorBytes, cost);
        for (size_t d = 0; d < discs.size(); ++d)
            if (d != from && real[d] >= 0 && real[d] + sectors + m_margin <= m_capacity &&
                !Collides(discs[d], node))
                return d;
        return discs.size();
    }
    bool Collides(const std::vector<uint32_t>& disc, uint32_t node) const {
        const auto rootOf = [this](uint32_t n) {
            while (m_tree.nodes[n].parent >= 0)
                n = static_cast<uint32_t>(m_tree.nodes[n].parent);
            return n;
        };
        const uint32_t root = rootOf(node);
        for (uint32_t other : disc) {
            const uint32_t otherRoot = rootOf(other);
            if (otherRoot != root && m_tree.nodes[otherRoot].name == m_tree.nodes[root].name)
                return true;
        }
        return false;
    }

    PlannedDisc Disc(std::vector<uint32_t> nodes, int64_t sectors) const {
        std::sort(nodes.begin(), nodes.end());
        PlannedDisc disc;
        for (uint32_t node : nodes) {
            const PlanNode& n = m_tree.nodes[node];
            disc.items.push_back({ImagePath(node), n.diskPath, n.isFolder, n.wellClusters});
            disc.clusters += n.wellClusters;
        }
        disc.sectors = sectors;
        return disc;
    }

    int64_t m_capacity;
    DiscImage& m_image;
    WorkProgress* m_progress;
    PlanTree m_tree;
    int64_t m_fixed = 0;
    int64_t m_margin = 1;
    double m_ratio = 1.0;
    std::set<uint32_t> m_forcedSplits;
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
