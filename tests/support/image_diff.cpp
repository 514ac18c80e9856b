// image_diff: the image's size worked out from the records against libisofs's layout, on
// random trees, for whoever works on the arithmetic. Not installed.
//
//   image_diff [--xorriso] SEED_OR_FILE_OR_FOLDER...
//     SEED (a decimal number): the random tree of that seed, as the tests make it;
//     FILE: the random tree of its bytes, as the fuzz target makes it (a finding replays);
//     FOLDER: the entries of an existing folder, each an item at the root under its name.
//     Prints the sectors of every step (the tree's items, then the changes of the well the
//     same bytes draw; "left to libisofs" where the arithmetic did not reach), and, where
//     the two differ, the findings only one of them has, the items and the tree (paths,
//     kinds, sizes), which is then kept (in /dev/shm where there is one, else under
//     $TMPDIR).
//     --xorriso adds xorriso's figure for each step.
//   image_diff --minimize SEED_OR_FILE OUT
//     Cuts the bytes down while a difference remains and writes them to OUT: a small tree
//     that shows it (run image_diff OUT to see it).
#include "../core/TempTree.h"
#include "../image/Xorriso.h"
#include "ImageDifference.h"
#include "RandomImageTree.h"
#include "core/text/EscapedText.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace ketrilo;
using namespace ketrilo::test;

bool IsSeed(const std::string& arg) {
    return !arg.empty() && arg.size() <= 19 &&
           std::all_of(arg.begin(), arg.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<uint8_t> BytesOf(const std::string& arg) {
    if (IsSeed(arg))
        return SeedBytes(std::stoull(arg));
    std::ifstream file(arg, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + arg);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// What the tree holds, one entry a line: kind, size (a link's target), path below the root.
void ListTree(const std::string& root, std::ostream& out) {
    namespace fs = std::filesystem;
    std::error_code error;
    std::vector<std::string> lines;
    for (auto it = fs::recursive_directory_iterator(root, error); !error && it != fs::end(it);
         it.increment(error)) {
        const std::string path = it->path().string();
        struct stat st;
        if (lstat(path.c_str(), &st) != 0)
            continue;
        std::string line;
        if (S_ISDIR(st.st_mode))
            line = "folder\t";
        else if (S_ISREG(st.st_mode))
            line = "file\t" + std::to_string(st.st_size) +
                   (st.st_nlink > 1 ? " (inode " + std::to_string(st.st_ino) + ")" : "");
        else if (S_ISLNK(st.st_mode))
            line = "link\t-> " + EscapeControlCharacters(fs::read_symlink(path, error).string());
        else
            line = S_ISFIFO(st.st_mode) ? "fifo\t" : "other\t";
        lines.push_back(EscapeControlCharacters(path.substr(root.size())) + "\t" + line);
    }
    std::sort(lines.begin(), lines.end());
    for (const std::string& line : lines)
        out << "  " << line << "\n";
}

void PrintFindingsOnlyIn(const char* who, const ImageReport& report, const ImageReport& other) {
    const auto ours = FindingKeys(report);
    const auto theirs = FindingKeys(other);
    std::vector<std::pair<std::string, std::string>> only;
    std::set_difference(ours.begin(), ours.end(), theirs.begin(), theirs.end(),
                        std::back_inserter(only));
    for (const auto& [kind, path] : only)
        std::cout << "  only " << who << ": " << kind << " " << EscapeControlCharacters(path)
                  << "\n";
}

void PrintStep(const MeasureStep& step, bool xorriso) {
    std::cout << "  " << step.change << ": libisofs " << step.libisofs.sectors << ", arithmetic "
              << step.kept.sectors << " (fresh " << step.fresh.sectors
              << (step.deferred ? ", left to libisofs)" : ")");
    if (xorriso)
        std::cout << ", xorriso " << XorrisoSectors(step.items);
    std::cout << (step.Agrees() ? "" : "  DIFFERENT") << "\n";
    if (step.Agrees())
        return;
    PrintFindingsOnlyIn("libisofs", step.libisofs, step.kept);
    PrintFindingsOnlyIn("arithmetic", step.kept, step.libisofs);
    if (FindingKeys(step.fresh) != FindingKeys(step.kept))
        PrintFindingsOnlyIn("fresh arithmetic", step.fresh, step.kept);
    for (const ImageItem& item : step.items)
        std::cout << "  item " << EscapeControlCharacters(item.imagePath) << " = "
                  << EscapeControlCharacters(item.diskPath) << "\n";
}

// The steps on the tree of bytes, made under tree.
std::vector<MeasureStep> StepsOf(const TempTree& tree, const std::vector<uint8_t>& bytes) {
    fuzz::Bytes in(bytes.data(), bytes.size());
    const RandomImageTree made = RandomTreeWriter(tree, in).Write();
    return MeasureSteps(made, in);
}

// The items of a folder on disk, at the root under their names.
std::vector<MeasureStep> StepsOfFolder(const std::string& folder) {
    RandomImageTree existing;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        existing.items.push_back({entry.path().filename().string(), entry.path().string()});
    std::sort(existing.items.begin(), existing.items.end(),
              [](const ImageItem& a, const ImageItem& b) { return a.imagePath < b.imagePath; });
    fuzz::Bytes none(nullptr, 0);
    return MeasureSteps(existing, none);
}

bool AllAgree(const std::vector<MeasureStep>& steps) {
    return std::all_of(steps.begin(), steps.end(), [](const MeasureStep& s) { return s.Agrees(); });
}

// Returns whether every step agreed.
bool Report(const std::string& arg, bool xorriso) {
    std::cout << arg << "\n";
    if (std::filesystem::is_directory(arg)) {
        const std::vector<MeasureStep> steps = StepsOfFolder(arg);
        for (const MeasureStep& step : steps)
            PrintStep(step, xorriso);
        return AllAgree(steps);
    }
    TempTree tree(ScratchFolder());
    const std::vector<MeasureStep> steps = StepsOf(tree, BytesOf(arg));
    for (const MeasureStep& step : steps)
        PrintStep(step, xorriso);
    if (AllAgree(steps))
        return true;
    ListTree(tree.Root(), std::cout);
    tree.Keep();
    std::cout << "  tree kept in " << tree.Root() << "\n";
    return false;
}

bool Differs(const std::vector<uint8_t>& bytes) {
    TempTree tree(ScratchFolder());
    return !AllAgree(StepsOf(tree, bytes));
}

// Drops runs of bytes, halving their length, then sets bytes to 0 (each decision's first
// choice), as long as a difference remains, until neither changes anything. Zeros at the
// end go: past its end the input reads 0 anyway.
std::vector<uint8_t> Minimized(std::vector<uint8_t> bytes) {
    for (std::vector<uint8_t> before; before != bytes;) {
        before = bytes;
        for (size_t run = std::max<size_t>(1, bytes.size() / 2); run > 0; run /= 2) {
            for (size_t at = 0; at < bytes.size();) {
                std::vector<uint8_t> shorter = bytes;
                shorter.erase(shorter.begin() + static_cast<ptrdiff_t>(at),
                              shorter.begin() +
                                  static_cast<ptrdiff_t>(std::min(at + run, bytes.size())));
                if (Differs(shorter))
                    bytes = std::move(shorter);
                else
                    at += run;
            }
        }
        for (uint8_t& byte : bytes) {
            const uint8_t was = std::exchange(byte, 0);
            if (was != 0 && !Differs(bytes))
                byte = was;
        }
        while (!bytes.empty() && bytes.back() == 0)
            bytes.pop_back();
    }
    return bytes;
}

int Usage() {
    std::cerr << "usage: image_diff [--xorriso] SEED_OR_FILE_OR_FOLDER...\n"
                 "       image_diff --minimize SEED_OR_FILE OUT\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (!args.empty() && args[0] == "--minimize") {
            if (args.size() != 3)
                return Usage();
            const std::vector<uint8_t> bytes = BytesOf(args[1]);
            if (!Differs(bytes)) {
                std::cout << args[1] << ": no difference to minimize\n";
                return 0;
            }
            const std::vector<uint8_t> small = Minimized(bytes);
            std::ofstream(args[2], std::ios::binary)
                .write(reinterpret_cast<const char*>(small.data()),
                       static_cast<std::streamsize>(small.size()));
            std::cout << "minimized " << bytes.size() << " bytes to " << small.size() << "\n";
            Report(args[2], false);
            return 1;
        }
        const bool xorriso = !args.empty() && args[0] == "--xorriso";
        if (xorriso)
            args.erase(args.begin());
        if (args.empty())
            return Usage();
        bool agree = true;
        for (const std::string& arg : args)
            agree = Report(arg, xorriso) && agree;
        return agree ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << "image_diff: " << error.what() << "\n";
        return 2;
    }
}
