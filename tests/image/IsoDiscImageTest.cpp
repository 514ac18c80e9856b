// The image size against xorriso's own figure for the same items, to the sector, and the
// checks of what a burner would change or refuse.
#include "image/IsoDiscImage.h"
#include "ImageTestTrees.h"
#include "Xorriso.h"
#include "core/image/DiscImageChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace ketrilo {
namespace {

using test::TempTree;
using namespace test;

int64_t OurSectors(const std::vector<ImageItem>& items) {
    return IsoDiscImage().Measure(items, nullptr).sectors;
}

TEST(IsoDiscImageTest, EqualsXorrisoOnGeneratedTrees) {
    TempTree tree;
    for (const std::vector<ImageItem>& items : GeneratedTrees(tree)) {
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
    const std::vector<ImageItem> items = ItemsAtLongPaths(tree);
    ASSERT_GT(items[0].diskPath.size(), 7800u);
    const std::string name(200, 'n');
    tree.Folder("short");
    tree.File("short/f", 3000);
    tree.DeepChain("short", 1, name, 3000);

    const int64_t expected = XorrisoSectors(
        {{"folder", tree.Path("short")}, {"file", tree.Path("short/" + name + "/f")}});
    ASSERT_GT(expected, 0);
    EXPECT_EQ(OurSectors(items), expected);
}

TEST(IsoDiscImageTest, FindsWhatTheBurnerWouldChangeOrRefuse) {
    TempTree tree;
    const std::string cut(64, 'c');
    const ImageReport report = IsoDiscImage().Measure(TreeOfFindings(tree), nullptr);
    const std::string n60(60, 'p');
    const std::string tooLong = "w/" + n60 + "/" + n60 + "/" + n60 + "/" + n60 + "/last-straw";
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
    const ImageReport report = IsoDiscImage().Measure(TreeOfJolietPaths(tree), nullptr);
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
    const ImageReport report = IsoDiscImage().Measure(TreeOfBoundaries(tree), nullptr);
    const std::string level(100, 'x');
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
