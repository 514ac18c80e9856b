// The disc image of a large tree: the time the arithmetic takes to work it out from the
// records (read from scratch, handed over by a walk, again with one more item, and after a
// file was renamed on disk) and the time libisofs takes to lay it out, beside the time of a
// walk of the same tree, and the figures beside xorriso's. Figures only, never pass or fail.
// Usage: bench_image FILES [FOLDER]   (the tree is made once and reused while complete)
//        bench_image --tree TREE      (a tree made beforehand, measured as it is)
#include "core/image/ArithmeticDiscImage.h"
#include "core/workspace/IconSource.h"
#include "core/workspace/LongNameList.h"
#include "core/workspace/MeasureFolder.h"
#include "core/workspace/NoIcons.h"
#include "image/IsoDiscImage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int FilesPerFolder = 37; // as in a photo and document archive

// FOLDER/tree/gNNN/fNNNNN/ with the files spread evenly; sparse files of mostly small
// sizes, now and then larger; one name in 1,000 over 64 units.
void MakeTree(const std::string& root, int files) {
    const std::string done = root + "/complete-" + std::to_string(files);
    if (access(done.c_str(), F_OK) == 0)
        return;
    std::system(("rm -rf '" + root + "' && mkdir -p '" + root + "/tree'").c_str());
    const int folders = (files + FilesPerFolder - 1) / FilesPerFolder;
    for (int f = 0; f < folders; ++f) {
        const std::string group = root + "/tree/g" + std::to_string(f / 50);
        mkdir(group.c_str(), 0755);
        const std::string folder = group + "/folder" + std::to_string(f);
        mkdir(folder.c_str(), 0755);
        for (int i = f * FilesPerFolder; i < std::min(files, (f + 1) * FilesPerFolder); ++i) {
            std::string name = "photo_" + std::to_string(i) + (i % 3 == 0 ? ".jpg" : ".txt");
            if (i % 1000 == 0)
                name = std::string(70, 'L') + name;
            const int fd = open((folder + "/" + name).c_str(), O_WRONLY | O_CREAT, 0644);
            const off_t size = i % 50 == 0 ? off_t{5} << 20 : (i * 7919L) % 20000;
            if (fd < 0 || ftruncate(fd, size) != 0)
                std::exit(2);
            close(fd);
        }
    }
    close(open(done.c_str(), O_WRONLY | O_CREAT, 0644));
}

// Milliseconds of wall-clock time.
double MillisecondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Best of three (the cache is warm after the first). A pause before each run lets the last
// image's teardown, which goes on after its figure is handed back, end first, as it does
// while a user looks at the figure.
double BestOfThree(const std::function<void()>& work) {
    double best = 1e18;
    for (int run = 0; run < 3; ++run) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        best = std::min(best, MillisecondsOf(work));
    }
    return best;
}

std::string ItemName(const std::string& tree) {
    return std::filesystem::path(tree).filename().string();
}

long long XorrisoSectors(const std::string& tree) {
    const std::string command = "LC_ALL=C.UTF-8 xorriso -as mkisofs -R -J -iso-level 3 -no-pad "
                                "-graft-points -print-size '" +
                                ItemName(tree) + "=" + tree + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    long long sectors = -1;
    if (pipe == nullptr || std::fscanf(pipe, "%lld", &sectors) != 1)
        sectors = -1;
    if (pipe != nullptr)
        pclose(pipe);
    return sectors;
}

// Where the measures' figures meet libisofs's.
const char* Verdict(int64_t sectors, int64_t libisofs) {
    return sectors == libisofs ? "equal" : "DIFFERENT";
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_image FILES [FOLDER] | bench_image --tree TREE\n");
        return 2;
    }
    const char* tmp = std::getenv("TMPDIR");
    const std::string temp = tmp != nullptr ? tmp : "/tmp";
    std::string tree;
    if (std::string(argv[1]) == "--tree" && argc > 2) {
        tree = argv[2];
        std::printf("tree %s\n", tree.c_str());
    } else {
        const int files = std::atoi(argv[1]);
        const std::string root =
            argc > 2 ? argv[2] : temp + "/ketrilo-bench-image-" + std::to_string(files);
        MakeTree(root, files);
        tree = root + "/tree";
        std::printf("%d files in %d folders under %s\n", files,
                    (files + FilesPerFolder - 1) / FilesPerFolder, tree.c_str());
    }
    // The one more item of a small change: a file dropped beside the tree.
    const std::string extra = temp + "/ketrilo-bench-image-extra.txt";
    close(open(extra.c_str(), O_WRONLY | O_CREAT, 0644));
    // The tree as the well holds it: at the image's root under its own name.
    const std::vector<ketrilo::ImageItem> items{{ItemName(tree), tree}};
    std::vector<ketrilo::ImageItem> more = items;
    more.push_back({"extra.txt", extra});

    int64_t clusters = 0;
    const double walkMs = BestOfThree([&] {
        ketrilo::LongNameList longNames;
        ketrilo::NoIcons icons;
        clusters = ketrilo::MeasureFolder(tree + "/", false, longNames, icons);
    });
    const auto library = std::make_shared<ketrilo::IsoDiscImage>();
    ketrilo::ImageReport arithmetic;
    const double arithmeticMs = BestOfThree(
        [&] { arithmetic = ketrilo::ArithmeticDiscImage(library).Measure(items, nullptr); });
    // The walk handing its folders to the arithmetic, then the figure from their records: what
    // a fresh well costs in the window and `ketrilo --measure --image`.
    ketrilo::ImageReport witnessed;
    const double witnessedMs = BestOfThree([&] {
        ketrilo::ArithmeticDiscImage image(library);
        ketrilo::LongNameList longNames;
        ketrilo::NoIcons icons;
        (void)ketrilo::MeasureFolder(tree + "/", false, longNames, icons, nullptr,
                                     ketrilo::WalkOptions{.witness = &image});
        witnessed = image.Measure(items, nullptr);
    });
    // A measure that keeps what it read, after one more item: what the window waits for
    // after a small drop.
    ketrilo::ArithmeticDiscImage kept(library);
    ketrilo::ImageReport again;
    double againMs = 1e18;
    for (int run = 0; run < 3; ++run) {
        (void)kept.Measure(items, nullptr);
        againMs = std::min(againMs, MillisecondsOf([&] { again = kept.Measure(more, nullptr); }));
    }
    // After one file under the tree is renamed on disk and the measure is told so: what the
    // window waits for after a rename in the long names' list.
    std::string renamedFrom;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(tree))
        if (entry.is_regular_file()) {
            renamedFrom = entry.path().string();
            break;
        }
    const std::string renamedTo = renamedFrom + "-renamed";
    double renameMs = 1e18;
    ketrilo::ImageReport renamed;
    for (int run = 0; run < 3; ++run) {
        (void)kept.Measure(items, nullptr);
        std::rename(renamedFrom.c_str(), renamedTo.c_str());
        kept.ForgetEntry(renamedFrom);
        renameMs =
            std::min(renameMs, MillisecondsOf([&] { renamed = kept.Measure(items, nullptr); }));
        if (run < 2) {
            std::rename(renamedTo.c_str(), renamedFrom.c_str());
            kept.ForgetEntry(renamedTo);
        }
    }
    const ketrilo::ImageReport reportRenamed = ketrilo::IsoDiscImage().Measure(items, nullptr);
    std::rename(renamedTo.c_str(), renamedFrom.c_str());

    ketrilo::ImageReport report;
    const double imageMs =
        BestOfThree([&] { report = ketrilo::IsoDiscImage().Measure(items, nullptr); });
    const ketrilo::ImageReport reportMore = ketrilo::IsoDiscImage().Measure(more, nullptr);
    long long xorriso = 0;
    const double xorrisoMs = MillisecondsOf([&] { xorriso = XorrisoSectors(tree); });

    std::printf("walk:       %8.0f ms  %lld clusters\n", walkMs, static_cast<long long>(clusters));
    std::printf("arithmetic: %8.0f ms  %lld sectors, %zu findings (%s, %.2fx the walk)\n",
                arithmeticMs, static_cast<long long>(arithmetic.sectors),
                arithmetic.findings.size(), Verdict(arithmetic.sectors, report.sectors),
                arithmeticMs / walkMs);
    std::printf(
        "walk, then the figure from its records: %8.0f ms  %lld sectors (%s, %.2fx the walk)\n",
        witnessedMs, static_cast<long long>(witnessed.sectors),
        Verdict(witnessed.sectors, report.sectors), witnessedMs / walkMs);
    std::printf("  again, one file more: %8.2f ms  %lld sectors (%s)\n", againMs,
                static_cast<long long>(again.sectors), Verdict(again.sectors, reportMore.sectors));
    std::printf("  again, one file renamed on disk: %8.2f ms  %lld sectors (%s)\n", renameMs,
                static_cast<long long>(renamed.sectors),
                Verdict(renamed.sectors, reportRenamed.sectors));
    std::printf("libisofs:   %8.0f ms  %lld sectors, %zu findings (%.2fx the walk)\n", imageMs,
                static_cast<long long>(report.sectors), report.findings.size(), imageMs / walkMs);
    std::printf("xorriso:    %8.0f ms  %lld sectors (%s)\n", xorrisoMs, xorriso,
                Verdict(xorriso, report.sectors));
    return 0;
}
