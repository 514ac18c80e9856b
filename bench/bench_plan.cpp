// The spanning plan of 300,000 files over BD-R 25GB discs, with the libisofs image: wall-clock
// time (best of three, warm cache), the discs beside the lower bound, and each disc's fill.
// Figures only, never pass or fail.
//
//   bench_plan [TREE_FOLDER]   (default $TMPDIR/ketrilo-bench-plan-300k, made once)
#include "core/image/ArithmeticDiscImage.h"
#include "core/plan/SpanningPlan.h"
#include "image/IsoDiscImage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int64_t BdR25 = 12'219'392;
constexpr int Files = 300'000;

// 20 top folders of 20 folders of 19 leaves; sizes mostly under 64 KiB, one in seven up to
// 1 MiB, one in a hundred up to 50 MiB (about 100 GB in all, sparse: nothing is written).
void MakeTree(const std::string& root) {
    std::vector<std::string> folders;
    mkdir(root.c_str(), 0755);
    for (int a = 0; a < 20; ++a) {
        const std::string top = root + "/top" + std::to_string(a);
        folders.push_back(top);
        for (int b = 0; b < 20; ++b) {
            const std::string mid = top + "/mid" + std::to_string(b);
            folders.push_back(mid);
            for (int c = 0; c < 19; ++c)
                folders.push_back(mid + "/leaf" + std::to_string(c));
        }
    }
    uint64_t x = 20100503;
    int made = 0;
    for (size_t i = 0; i < folders.size(); ++i) {
        mkdir(folders[i].c_str(), 0755);
        for (const int upto =
                 static_cast<int>(int64_t(Files) * int64_t(i + 1) / int64_t(folders.size()));
             made < upto; ++made) {
            x = x * 6364136223846793005ULL + 1442695040888963407ULL;
            const uint64_t r = x >> 33, kind = r % 100;
            const int64_t size = static_cast<int64_t>(kind < 85   ? r % (64 << 10)
                                                      : kind < 99 ? r % (1 << 20)
                                                                  : r % (50 << 20));
            const std::string file = folders[i] + "/photo" + std::to_string(made) + ".jpg";
            const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0 || ftruncate(fd, size) != 0) {
                std::perror(file.c_str());
                std::exit(1);
            }
            close(fd);
        }
    }
    close(open((root + "/.complete").c_str(), O_WRONLY | O_CREAT, 0644));
}

} // namespace

int main(int argc, char* argv[]) {
    const char* tmp = std::getenv("TMPDIR");
    // --library: every measure by libisofs, as the plan measured before the arithmetic.
    const bool libraryOnly = argc > 1 && std::strcmp(argv[1], "--library") == 0;
    const int rootArg = libraryOnly ? 2 : 1;
    const std::string root =
        argc > rootArg ? argv[rootArg]
                       : std::string(tmp != nullptr ? tmp : "/tmp") + "/ketrilo-bench-plan-300k";
    if (access((root + "/.complete").c_str(), F_OK) != 0) {
        std::printf("making %s (%d files)...\n", root.c_str(), Files);
        MakeTree(root);
    }
    std::vector<std::string> items;
    for (int a = 0; a < 20; ++a)
        items.push_back(root + "/top" + std::to_string(a));

    auto library = std::make_shared<ketrilo::IsoDiscImage>();
    ketrilo::ArithmeticDiscImage arithmetic(library);
    ketrilo::DiscImage& image = libraryOnly ? static_cast<ketrilo::DiscImage&>(*library)
                                            : static_cast<ketrilo::DiscImage&>(arithmetic);
    ketrilo::SpanningPlan plan;
    double best = 0;
    for (int run = 0; run < 4; ++run) { // the first warms the cache
        const auto start = std::chrono::steady_clock::now();
        plan = ketrilo::PlanDiscs(items, BdR25, image, nullptr);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (run == 1 || (run > 1 && seconds < best))
            best = seconds;
    }
    size_t parts = 0;
    for (size_t d = 0; d < plan.discs.size(); ++d) {
        const ketrilo::PlannedDisc& disc = plan.discs[d];
        parts += disc.items.size();
        std::printf("disc %zu: %lld sectors (%.3f%%), %zu items\n", d + 1,
                    static_cast<long long>(disc.sectors), 100.0 * double(disc.sectors) / BdR25,
                    disc.items.size());
    }
    std::printf("whole image %lld sectors; discs %zu, lower bound %lld; %zu items\n",
                static_cast<long long>(plan.imageSectors), plan.discs.size(),
                static_cast<long long>(plan.lowerBound), parts);
    std::printf("plan of %d files over BD-R 25GB, measured by %s: %.2f s (best of three, warm "
                "cache)\n",
                Files, libraryOnly ? "libisofs" : "the arithmetic, proven by libisofs", best);
}
