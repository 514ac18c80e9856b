// The image size against xorriso's own figure for the same items, to the sector, and the
// checks of what a burner would change or refuse.
#include "image/IsoDiscImage.h"
#include "../core/TempTree.h"
#include "core/image/DiscImageChecks.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace ketrilo {
namespace {

using test::TempTree;

// xorriso's graft points take "\" and "=" literally only when escaped.
std::string GraftEscaped(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\\' || c == '=')
            escaped.push_back('\\');
        escaped.push_back(c);
    }
    return escaped;
}

// The sectors "xorriso -as mkisofs ... -print-size" reports for items; -1 when it fails.
int64_t XorrisoSectors(const std::vector<ImageItem>& items) {
    std::vector<std::string> args = {
        "xorriso", "-as",     "mkisofs",       "-R",         "-J", "-iso-level",
        "3",       "-no-pad", "-graft-points", "-print-size"};
    for (const ImageItem& item : items)
        args.push_back(GraftEscaped(item.imagePath) + "=" + GraftEscaped(item.diskPath));
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    int out[2];
    if (pipe(out) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        setenv("LC_ALL", "C.UTF-8", 1); // names are UTF-8, as the program reads them
        dup2(out[1], 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        close(out[0]);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || text.empty())
        return -1;
    return std::stoll(text);
}

int64_t OurSectors(const std::vector<ImageItem>& items) {
    return IsoDiscImage().Measure(items, nullptr).sectors;
}

ImageItem Item(const TempTree& tree, const std::string& relative) {
    return {relative.substr(relative.rfind('/') + 1), tree.Path(relative)};
}

TEST(IsoDiscImageTest, EqualsXorrisoOnGeneratedTrees) {
    TempTree tree;
    // Many small files of every size around a sector, in a few dozen folders.
    tree.Folder("many");
    for (int f = 0; f < 40; ++f) {
        const std::string folder = "many/f" + std::to_string(f);
        tree.Folder(folder);
        for (int i = 0; i < 60; ++i)
            tree.File(folder + "/file" + std::to_string(i) + ".txt", (i * 977 + f) % 6000);
    }
    // Deep folders, empty folders and hidden entries.
    tree.Folder("deep");
    tree.DeepChain("deep", 20, "level", 3000);
    tree.Folder("deep/empty");
    tree.Folder("deep/.hidden");
    tree.File("deep/.hidden/.dotfile", 10);
    // Long, non-ASCII and Joliet-unfriendly names, names alike once cut, a non-UTF-8 name.
    tree.Folder("names");
    tree.File("names/" + std::string(255, 'n'), 1);
    tree.File("names/" + std::string(64, 'c') + "-one", 1);
    tree.File("names/" + std::string(64, 'c') + "-two", 1);
    tree.File("names/"
              "日本語のファイル名はとても長くなることがありますので注意が必要です。それでも読めるで"
              "しょうか確認しましょうね.txt",
              5);
    tree.File("names/\xF0\x9F\x93\x80 disc", 5);
    tree.File("names/a:b;c?d*e\\f", 5);
    tree.File("names/ctrl\x01name", 5);
    tree.File("names/bad\xFFutf8", 5);
    tree.Folder("names/UPPER and lower.and.dots...");
    // Links of every kind, a hard link, a special file, and a sparse file over 4 GiB.
    tree.Folder("links");
    tree.File("links/target", 5000);
    tree.Link("links/to-file", "target");
    tree.Link("links/to-folder", "..");
    tree.Link("links/dangling", "nowhere/" + std::string(200, 'x'));
    ASSERT_EQ(link(tree.Path("links/target").c_str(), tree.Path("links/hard").c_str()), 0);
    tree.Fifo("links/fifo");
    tree.Folder("big");
    tree.File("big/sparse.img", (int64_t{5} << 30) + 1);
    tree.File("single.bin", 70000);
    tree.Link("single-link", "single.bin");

    const std::vector<std::vector<ImageItem>> cases = {
        {Item(tree, "many")},
        {Item(tree, "deep")},
        {Item(tree, "names")},
        {Item(tree, "links")},
        {Item(tree, "big")},
        {Item(tree, "many"), Item(tree, "deep"), Item(tree, "names"), Item(tree, "links"),
         Item(tree, "big"), Item(tree, "single.bin"), Item(tree, "single-link")},
        {{"nested/part one", tree.Path("many/f3")}, {"nested/part two", tree.Path("deep")}},
        {{"same", tree.Path("many/f1")}, {"same", tree.Path("many/f2")}},         // folders merge
        {{"same", tree.Path("single.bin")}, {"same", tree.Path("links/target")}}, // the later wins
    };
    for (const std::vector<ImageItem>& items : cases) {
        const int64_t expected = XorrisoSectors(items);
        const std::string what = items.front().diskPath + " +" + std::to_string(items.size() - 1);
        ASSERT_GT(expected, 0) << "xorriso failed on " << what;
        EXPECT_EQ(OurSectors(items), expected) << what;
    }
}

// A folder and a file whose paths are about 8,000 bytes, twice what the system takes in one
// path, against xorriso on a copy of the same entries at a short path.
TEST(IsoDiscImageTest, ItemsAtPathsOverTheSystemLimit) {
    TempTree tree;
    const std::string name(200, 'n');
    tree.Folder("long");
    tree.DeepChain("long", 40, name, 3000); // a file "f" in each folder
    std::string folder = tree.Path("long");
    for (int i = 0; i < 39; ++i)
        folder += "/" + name;
    ASSERT_GT(folder.size(), 7800u);
    tree.Folder("short");
    tree.File("short/f", 3000);
    tree.DeepChain("short", 1, name, 3000);

    const int64_t expected = XorrisoSectors(
        {{"folder", tree.Path("short")}, {"file", tree.Path("short/" + name + "/f")}});
    ASSERT_GT(expected, 0);
    EXPECT_EQ(OurSectors({{"folder", folder}, {"file", folder + "/" + name + "/f"}}), expected);
}

TEST(IsoDiscImageTest, FindsWhatTheBurnerWouldChangeOrRefuse) {
    TempTree tree;
    const std::string cut(64, 'c');
    tree.Folder("w");
    tree.File("w/" + std::string(65, 'L'), 1);
    tree.File("w/" + std::string(64, 'S'), 1); // 64 units: kept whole
    tree.File("w/a:b", 1);
    tree.File("w/" + cut + "1", 1);
    tree.File("w/" + cut + "2", 1);
    tree.File("w/big", int64_t{1} << 32);
    tree.File("w/almost", (int64_t{1} << 32) - 1);
    tree.Link("w/link:" + std::string(70, 'k'), "big"); // not in the Joliet tree
    tree.DeepChain("w", 8, "d", 1);                     // w is level 2, so the 7th d is level 9
    const std::string n60(60, 'p');
    tree.Folder("w/" + n60);
    tree.Folder("w/" + n60 + "/" + n60);
    tree.Folder("w/" + n60 + "/" + n60 + "/" + n60);
    tree.File("w/" + n60 + "/" + n60 + "/" + n60 + "/short", 1); // 1+1+61*3+6 = 191
    tree.Folder("w/" + n60 + "/" + n60 + "/" + n60 + "/" + n60); // 246: still seen
    const std::string tooLong = "w/" + n60 + "/" + n60 + "/" + n60 + "/" + n60 + "/last-straw";
    tree.File(tooLong, 1); // 257
    tree.File("other", 1);

    const ImageReport report =
        IsoDiscImage().Measure({{"w", tree.Path("w")}, {"w", tree.Path("other")}}, nullptr);
    std::vector<std::pair<ImageFindingKind, std::string>> found;
    for (const ImageFinding& f : report.findings)
        found.emplace_back(f.kind, f.path);
    using K = ImageFindingKind;
    const std::vector<std::pair<ImageFindingKind, std::string>> expected = {
        {K::RootNameCollision, tree.Path("other")},
        {K::JolietNameTooLong, tree.Path("w/" + std::string(65, 'L'))},
        {K::JolietCharacter, tree.Path("w/a:b")},
        {K::FileOver4GiB, tree.Path("w/big")},
        {K::JolietNameTooLong, tree.Path("w/" + cut + "1")},
        {K::JolietNameCollision, tree.Path("w/" + cut + "1")},
        {K::JolietNameTooLong, tree.Path("w/" + cut + "2")},
        {K::JolietNameCollision, tree.Path("w/" + cut + "2")},
        {K::PathTooDeep, tree.Path("w/d/d/d/d/d/d/d")},
        {K::PathTooLong, tree.Path(tooLong)},
        {K::JolietPathTooLong, tree.Path("w/" + n60 + "/" + n60)}, // 1+3+121+121 = 246
    };
    EXPECT_EQ(found.size(), expected.size());
    for (const auto& e : expected)
        EXPECT_NE(std::find(found.begin(), found.end(), e), found.end()) << e.second;
}

// The image paths xorriso says it leaves out of the Joliet tree, as "j/...".
std::vector<std::string> XorrisoJolietOmissions(const std::string& diskFolder) {
    const std::string command = "LC_ALL=C.UTF-8 xorriso -as mkisofs -R -J -iso-level 3 -no-pad "
                                "-graft-points -print-size 'j=" +
                                diskFolder + "' 2>&1 >/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    std::string text;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        text.append(buffer, n);
    pclose(pipe);
    std::vector<std::string> paths;
    const std::string head = "File \"/";
    for (size_t at = text.find(head); at != std::string::npos; at = text.find(head, at + 1)) {
        const size_t start = at + head.size();
        if (text.find("can't be added to Joliet tree", start) != std::string::npos)
            paths.push_back(text.substr(start, text.find('"', start) - start));
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

// The Joliet path rule of libisofs, at its boundary: 1 byte, then for each level 1 byte and
// 2 per unit of the Joliet name (a folder's cut to 64 units, a file with an extension to
// 65), over 240 left out. Checked against what xorriso itself leaves out.
TEST(IsoDiscImageTest, JolietPathsOverTheLimitAreTheOnesXorrisoLeavesOut) {
    TempTree tree;
    const std::string folder(70, 'F'); // cut to 64: "j/F" is 1+3+129 = 133 bytes
    tree.Folder("j");
    tree.Folder("j/" + folder);
    tree.File("j/" + folder + "/" + std::string(53, 'a'), 1);         // 133+107 = 240
    tree.File("j/" + folder + "/" + std::string(54, 'b'), 1);         // 242
    tree.File("j/" + folder + "/" + std::string(100, 'c') + ".t", 1); // 65 units: 264
    tree.Folder("j/" + folder + "/" + std::string(60, 'd'));          // 254, and its file
    tree.File("j/" + folder + "/" + std::string(60, 'd') + "/e", 1);  // is not named again
    const ImageReport report = IsoDiscImage().Measure({{"j", tree.Path("j")}}, nullptr);
    std::vector<std::string> ours;
    for (const ImageFinding& f : report.findings)
        if (f.kind == ImageFindingKind::JolietPathTooLong)
            ours.push_back("j/" + f.path.substr(tree.Path("j/").size()));
    std::sort(ours.begin(), ours.end());
    const std::vector<std::string> xorriso = XorrisoJolietOmissions(tree.Path("j"));
    EXPECT_EQ(ours.size(), 3u);
    EXPECT_EQ(ours, xorriso);
}

// A path of 255 bytes in the image passes, 256 does not; a name that is not UTF-8 and a
// file over libisofs's largest are named, the latter instead of the 4 GiB finding.
TEST(IsoDiscImageTest, PathLengthBoundaryBadBytesAndTheLargestFile) {
    TempTree tree;
    tree.Folder("p");
    const std::string level(100, 'x');
    tree.Folder("p/" + level);
    tree.File("p/" + level + "/" + std::string(153, 'y'), 1); // 1+1+100+1+153 = 256: no,
    tree.File("p/" + level + "/" + std::string(152, 'z'), 1); // 255 passes
    tree.File("p/\xFEname", 1);
    tree.File("p/largest", LargestImageFile);
    tree.File("p/over", LargestImageFile + 1);
    const ImageReport report = IsoDiscImage().Measure({{"p", tree.Path("p")}}, nullptr);
    std::vector<std::pair<ImageFindingKind, std::string>> found;
    for (const ImageFinding& f : report.findings)
        if (f.kind != ImageFindingKind::JolietNameTooLong &&
            f.kind != ImageFindingKind::JolietPathTooLong)
            found.emplace_back(f.kind, f.path.substr(tree.Path("p/").size()));
    using K = ImageFindingKind;
    const std::vector<std::pair<ImageFindingKind, std::string>> expected = {
        {K::FileOver4GiB, "largest"},
        {K::FileTooLarge, "over"},
        {K::PathTooLong, level + "/" + std::string(153, 'y')},
        {K::NameNotUtf8, "\xFEname"},
    };
    EXPECT_EQ(found, expected);
}

} // namespace
} // namespace ketrilo
