// Filling a DVD-R around what the well holds, from 1,000 and 10,000 candidates: the time
// and the free sectors beside two rules a user might apply (largest first; the list's
// order while items fit). Figures only, never pass or fail.
//
//   bench_fill [FOLDER]   (default $TMPDIR/ketrilo-bench-fill, made once)
//
// First the search alone (ChooseFill over the image costs, sectors as the grain) on three
// kinds of candidates; then the whole fill (FillDisc: the candidates read, searched, and
// the result measured by libisofs) over real sparse files.
#include "core/image/ImageLayout.h"
#include "core/plan/FillSearch.h"
#include "image/IsoDiscImage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int64_t DvdR = 2'298'496; // sectors
constexpr int64_t Sector = ketrilo::ImageSectorBytes;

class Random {
public:
    explicit Random(uint64_t seed) : m_x(seed) {}
    uint64_t Below(uint64_t n) {
        m_x = m_x * 6364136223846793005ULL + 1442695040888963407ULL;
        return (m_x >> 33) % n;
    }
    int64_t Between(int64_t low, int64_t high) {
        return low + static_cast<int64_t>(Below(static_cast<uint64_t>(high - low + 1)));
    }

private:
    uint64_t m_x;
};

// Sizes in bytes of count candidates of a kind.
using Kind = std::function<int64_t(Random&)>;

// Photos and documents: mostly small, some large.
int64_t Mixed(Random& r) {
    const uint64_t kind = r.Below(100);
    return kind < 70   ? r.Between(1, 8 << 20)
           : kind < 95 ? r.Between(8 << 20, 200 << 20)
                       : r.Between(200 << 20, 1500 << 20);
}
// Video files in three sizes that do not add up to a disc (about a fifth, a third and
// nearly half of it): the largest first leaves several percent free.
int64_t Episodes(Random& r) {
    const int64_t disc = DvdR * Sector;
    const uint64_t kind = r.Below(10);
    return kind < 4   ? r.Between(disc * 19 / 100, disc * 21 / 100)
           : kind < 8 ? r.Between(disc * 33 / 100, disc * 35 / 100)
                      : r.Between(disc * 45 / 100, disc * 47 / 100);
}

// Files of nearly a third of the disc: no set fills it, so the searches spend all their
// visits.
int64_t Thirds(Random& r) {
    const int64_t disc = DvdR * Sector;
    return r.Between(disc * 30 / 100, disc * 32 / 100);
}

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long PeakKiB() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "VmHWM:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
    return 0;
}

void SearchAlone(const char* name, const Kind& kind, size_t count) {
    Random r(20240607 + count);
    std::vector<ketrilo::FillCandidate> candidates;
    for (size_t i = 0; i < count; ++i) {
        const int64_t bytes = kind(r);
        const ketrilo::LayoutEntry file{
            "file" + std::to_string(i) + ".dat", ketrilo::LayoutEntry::Kind::File, bytes, {}};
        const int64_t cost = (bytes + Sector - 1) / Sector * Sector + ketrilo::RootEntryBytes(file);
        candidates.push_back({cost, static_cast<uint32_t>(i)});
    }
    const int64_t room = DvdR * Sector;
    ketrilo::FillChoice choice;
    double best = 1e9;
    for (int run = 0; run < 3; ++run)
        best = std::min(best, Seconds([&] {
                            choice = ketrilo::ChooseFill(candidates, room, Sector, nullptr);
                        }));
    const auto greedy = [&](std::vector<int64_t> costs) {
        int64_t load = 0;
        for (int64_t cost : costs)
            if (load + cost <= room)
                load += cost;
        return load;
    };
    std::vector<int64_t> inOrder;
    for (const ketrilo::FillCandidate& c : candidates)
        inOrder.push_back(c.cost);
    std::vector<int64_t> largestFirst = inOrder;
    std::stable_sort(largestFirst.rbegin(), largestFirst.rend());
    const auto freeText = [room](int64_t load) {
        static char text[64];
        const int64_t free = (room - load) / Sector;
        std::snprintf(text, sizeof text, "%9lld (%.3f%%)", static_cast<long long>(free),
                      100.0 * static_cast<double>(free) / DvdR);
        return std::string(text);
    };
    std::printf("%-8s %6zu: %7.3f s  free sectors: found %s  largest first %s  in order %s"
                "  (%zu chosen, %zu too large)\n",
                name, count, best, freeText(choice.load).c_str(),
                freeText(greedy(largestFirst)).c_str(), freeText(greedy(inOrder)).c_str(),
                choice.chosen.size(), choice.tooLarge);
}

void MakeFiles(const std::string& folder, size_t count, uint64_t seed, const Kind& kind) {
    mkdir(folder.c_str(), 0755);
    Random r(seed);
    for (size_t i = 0; i < count; ++i) {
        const std::string file = folder + "/file" + std::to_string(i) + ".dat";
        const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ftruncate(fd, kind(r)) != 0) {
            std::perror(file.c_str());
            std::exit(1);
        }
        close(fd);
    }
}

// Fills a disc that holds a 2 GiB item, or nothing when empty is set.
void WholeFill(const std::string& root, const char* name, const Kind& kind, size_t count,
               bool empty) {
    const std::string folder = root + "/" + name + std::to_string(count);
    const std::string well = root + "/well.iso";
    if (access((folder + "/.complete").c_str(), F_OK) != 0) {
        std::printf("making %s (%zu files)...\n", folder.c_str(), count);
        MakeFiles(folder, count, count, kind);
        close(open((folder + "/.complete").c_str(), O_WRONLY | O_CREAT, 0644));
    }
    const int fd = open(well.c_str(), O_WRONLY | O_CREAT, 0644);
    if (fd < 0 || ftruncate(fd, int64_t{1} << 31) != 0)
        std::exit(1);
    close(fd);
    const std::vector<ketrilo::ImageItem> onDisc =
        empty ? std::vector<ketrilo::ImageItem>{}
              : std::vector<ketrilo::ImageItem>{{"well.iso", well}};
    std::vector<std::string> candidates;
    for (size_t i = 0; i < count; ++i)
        candidates.push_back(folder + "/file" + std::to_string(i) + ".dat");
    ketrilo::IsoDiscImage image;
    ketrilo::DiscFill fill;
    double best = 1e9;
    for (int run = 0; run < 3; ++run)
        best = std::min(best, Seconds([&] {
                            fill = ketrilo::FillDisc(onDisc, candidates, DvdR, image, nullptr);
                        }));
    std::printf("%-8s %6zu: %7.3f s  image %lld sectors, free %lld (%.3f%%), %zu chosen, "
                "%zu too large\n",
                name, count, best, static_cast<long long>(fill.sectorsAfter),
                static_cast<long long>(DvdR - fill.sectorsAfter),
                100.0 * static_cast<double>(DvdR - fill.sectorsAfter) / DvdR, fill.chosen.size(),
                fill.tooLarge);
}

} // namespace

int main(int argc, char* argv[]) {
    const char* tmp = std::getenv("TMPDIR");
    const std::string root =
        argc > 1 ? argv[1] : std::string(tmp != nullptr ? tmp : "/tmp") + "/ketrilo-bench-fill";
    mkdir(root.c_str(), 0755);
    std::printf("search alone (best of three), a DVD-R of %lld sectors:\n",
                static_cast<long long>(DvdR));
    for (size_t count : {1000, 10000}) {
        SearchAlone("mixed", Mixed, count);
        SearchAlone("episodes", Episodes, count);
        SearchAlone("thirds", Thirds, count);
    }
    std::printf("whole fill, mixed around a 2 GiB item, thirds on an empty disc (best of three, "
                "warm cache):\n");
    const Kind smallMixed = [](Random& r) {
        return Mixed(r) / 8;
    };
    for (size_t count : {1000, 10000}) {
        WholeFill(root, "mixed", smallMixed, count, false);
        WholeFill(root, "thirds", Thirds, count, true);
    }
    std::printf("peak resident memory: %ld KiB\n", PeakKiB());
}
