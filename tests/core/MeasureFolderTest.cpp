#include "core/workspace/MeasureFolder.h"
#include "DescriptorLimit.h"
#include "RecordingIcons.h"
#include "TempTree.h"
#include "core/text/Timestamp.h"
#include "core/workspace/NoIcons.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace ketrilo {
namespace {

using test::DescriptorLimit;
using test::RecordingIcons;
using test::TempTree;

const std::string Long65(65, 'L');
const std::string Long70(70, 'M');

int64_t Measure(const std::string& folder, bool collect, LongNameList& longNames,
                IconSource& icons) {
    return MeasureFolder(folder, collect, longNames, icons);
}

int64_t Measure(const std::string& folder) {
    LongNameList longNames;
    NoIcons icons;
    return Measure(folder, true, longNames, icons);
}

// Measures folder and expects its total, with no long name collected and no icon asked for.
void ExpectNoLongNames(const std::string& folder, bool collect, int64_t total) {
    LongNameList longNames;
    RecordingIcons icons;
    EXPECT_EQ(Measure(folder, collect, longNames, icons), total);
    EXPECT_EQ(longNames.Size(), 0u);
    EXPECT_TRUE(icons.asked.empty());
}

size_t OpenDescriptors() {
    size_t count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir) != nullptr)
            ++count;
        closedir(dir);
    }
    return count;
}

TEST(MeasureFolderTest, CountsWholeClustersPerFile) {
    TempTree tree;
    tree.Folder("two");
    tree.File("two/one", 1);
    tree.File("two/more", 2049);
    tree.Folder("none");
    tree.Folder("none/inner");
    tree.File("none/empty", 0);
    tree.File("none/inner/empty", 0);
    tree.Folder("nothing");
    EXPECT_EQ(Measure(tree.Path("two/")), 3);
    EXPECT_EQ(Measure(tree.Path("none/")), 0);
    EXPECT_EQ(Measure(tree.Path("nothing/")), 0);
    EXPECT_EQ(Measure(tree.Root()), 3);
}

TEST(MeasureFolderTest, SkipsHiddenSystemAndLinkedEntries) {
    TempTree tree;
    tree.File("counted", 1);
    tree.File(".hidden", 5000);
    tree.Folder(".hiddendir");
    tree.File(".hiddendir/big", 50000);
    tree.File(".hiddendir/" + Long65, 1);
    tree.Fifo("fifo");
    tree.Folder("big");
    tree.File("big/data", 4096);
    tree.Link("filelink", "big/data");
    tree.Link("dirlink", "big");
    tree.Link("loop", ".");
    tree.Link("up", "..");
    ExpectNoLongNames(tree.Root(), true, 3);
}

TEST(MeasureFolderTest, CollectsEachLongNameOnce) {
    TempTree tree;
    const std::string within = std::string(64, 'w');
    const std::string wideLong = [] {
        std::string name;
        for (int i = 0; i < 65; ++i)
            name += "\xE3\x81\x82"; // 65 units in 195 bytes
        return name;
    }();
    const std::string wideWithin = wideLong.substr(3); // 64 units in 192 bytes
    tree.File(Long65, 1);
    tree.File(within, 1);
    tree.File(wideLong, 1);
    tree.File(wideWithin, 1);

    LongNameList longNames;
    RecordingIcons icons;
    EXPECT_EQ(Measure(tree.Root(), true, longNames, icons), 4);
    ASSERT_EQ(longNames.Size(), 2u);
    for (const LongNameRow& row : longNames.Rows()) {
        EXPECT_TRUE(row.name == Long65 || row.name == wideLong) << row.name;
        EXPECT_EQ(row.length, 65);
        EXPECT_EQ(row.folder, tree.Root());
        EXPECT_EQ(row.icon, 7);
    }
    EXPECT_EQ(icons.asked.size(), 2u);

    EXPECT_EQ(Measure(tree.Root(), true, longNames, icons), 4);
    EXPECT_EQ(longNames.Size(), 2u);
}

TEST(MeasureFolderTest, CollectsNothingWhenNotAsked) {
    TempTree tree;
    tree.Folder(Long65);
    tree.File(Long65 + "/" + Long70, 1);
    ExpectNoLongNames(tree.Root(), false, 1);
}

TEST(MeasureFolderTest, LongFolderComesBeforeTheLongNamesInside) {
    TempTree tree;
    const std::string outer = tree.Folder(Long65);
    const std::string inner = tree.Folder(Long65 + "/" + Long70);
    const std::string file = std::string(80, 'f') + ".txt";
    tree.File(Long65 + "/" + Long70 + "/" + file, 2048);

    LongNameList longNames;
    RecordingIcons icons;
    EXPECT_EQ(Measure(tree.Root(), true, longNames, icons), 1);
    ASSERT_EQ(longNames.Size(), 3u);
    EXPECT_EQ(longNames.At(0).FullPath(), tree.Path(Long65));
    EXPECT_EQ(longNames.At(0).folder, tree.Root());
    EXPECT_EQ(longNames.At(0).icon, FolderIconIndex);
    EXPECT_EQ(longNames.At(1).FullPath(), outer + Long70);
    EXPECT_EQ(longNames.At(1).length, 70);
    EXPECT_EQ(longNames.At(1).icon, FolderIconIndex);
    EXPECT_EQ(longNames.At(2).FullPath(), inner + file);
    EXPECT_EQ(longNames.At(2).icon, 7);
    EXPECT_EQ(icons.asked, std::vector<std::string>{inner + file});
}

// Permissions do not bind root: measure from a child process that gave its rights up.
// The result must stay below 255 to pass through the exit status.
int64_t MeasureUnprivileged(const std::string& folder) {
    if (geteuid() != 0)
        return Measure(folder);
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(255);
        _exit(static_cast<int>(Measure(folder)));
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(MeasureFolderTest, UnreadableFolderAddsNothing) {
    TempTree tree;
    ASSERT_EQ(chmod(tree.Root().c_str(), 0755), 0);
    tree.File("one", 1);
    tree.Folder("closed");
    tree.File("closed/inside", 100000);
    ASSERT_EQ(chmod(tree.Path("closed").c_str(), 0), 0);
    EXPECT_EQ(MeasureUnprivileged(tree.Root()), 1);
    EXPECT_EQ(MeasureUnprivileged(tree.Path("closed/")), 0);
}

TEST(MeasureFolderTest, MissingFolderAddsNothing) {
    TempTree tree;
    EXPECT_EQ(Measure(tree.Path("missing/")), 0);
    EXPECT_EQ(Measure(""), 0);
}

// Deeper than the handle limit and longer than PATH_MAX, under a descriptor limit that a
// walk holding one handle per level would exceed.
TEST(MeasureFolderTest, DeepTreeIsMeasuredToTheBottom) {
    TempTree tree;
    constexpr int Depth = 300;
    tree.Folder("deep");
    tree.DeepChain("deep", Depth, Long65, 1);

    LongNameList longNames;
    NoIcons icons;
    int64_t total = 0;
    {
        const DescriptorLimit limit(OpenDescriptors() + MeasureOpenFolderLimit + 16);
        total = Measure(tree.Path("deep/"), true, longNames, icons);
    }
    EXPECT_EQ(total, Depth);
    ASSERT_EQ(longNames.Size(), static_cast<size_t>(Depth));
    std::string folder = tree.Path("deep/");
    for (const LongNameRow& row : longNames.Rows()) {
        ASSERT_EQ(row.folder, folder);
        ASSERT_EQ(row.name, Long65);
        folder += Long65 + "/";
    }
    EXPECT_GT(folder.size(), 4096u * 4);
}

// A folder moved away while the walk is deep inside it: its parent (closed for the handle
// limit) cannot be reached again through "..", and is found by its names instead, so its
// other sub-folders still count.
TEST(MeasureFolderTest, ParentIsFoundAgainAfterAFolderMovesAway) {
    TempTree tree;
    constexpr int Depth = MeasureOpenFolderLimit + 6;
    tree.Folder("p");
    for (const char* child : {"c1", "c2", "c3"}) {
        tree.Folder(std::string("p/") + child);
        tree.DeepChain(std::string("p/") + child, Depth, "n", 1);
    }
    for (const char* child : {"c1", "c2", "c3"}) {
        std::string bottom = std::string("p/") + child;
        for (int i = 0; i < Depth; ++i)
            bottom += "/n";
        tree.File(bottom + "/" + Long65, 0);
    }
    // Paths of this length still fit; only the walk's handles matter here.
    ASSERT_LT(tree.Path("p/c1").size() + Depth * 2 + 70, 4096u);

    // One walker, so that the parent's handle is the one closed for the limit.
    std::string moved;
    WalkOptions oneWalker;
    oneWalker.threads = 1;
    oneWalker.onEnter = [&](const std::string& folder) {
        if (!moved.empty() || folder.size() < tree.Path("p/c1").size() + Depth * 2)
            return;
        moved = folder.substr(0, tree.Path("p/c1").size());
        ASSERT_EQ(std::rename(moved.c_str(), tree.Path("away").c_str()), 0);
    };
    LongNameList longNames;
    NoIcons icons;
    EXPECT_EQ(MeasureFolder(tree.Root(), true, longNames, icons, nullptr, oneWalker), 3 * Depth);
    EXPECT_FALSE(moved.empty());
    EXPECT_EQ(longNames.Size(), 3u);
}

TEST(ListFolderTest, RowsOfFilesFoldersAndLinks) {
    TempTree tree;
    tree.File("empty", 0);
    tree.File("one.txt", 1);
    tree.File("archive.tar.gz", 2049);
    tree.Folder("sub.d");
    tree.File("sub.d/a", 1);
    tree.File("sub.d/b", 2049);
    tree.File("sub.d/" + Long65, 0);
    tree.Link("link", "one.txt");
    tree.File(".hidden", 1);
    tree.Fifo("fifo");
    tree.File(Long65, 1);
    const std::time_t written = 1273021507;
    for (const char* name : {"empty", "sub.d", "link"}) {
        const timespec times[2] = {{written, 0}, {written, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, tree.Path(name).c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
    }

    FolderList list;
    list.rows.push_back(FolderRow{"kept", "", 0, 0, 4, "", 3});
    RecordingIcons icons(9);
    ListFolder(tree.Root(), list, icons);

    ASSERT_EQ(list.rows.size(), 7u);
    EXPECT_EQ(list.rows.front().name, "kept");
    std::vector<FolderRow> rows(list.rows.begin() + 1, list.rows.end());
    std::sort(rows.begin(), rows.end(),
              [](const FolderRow& a, const FolderRow& b) { return a.name < b.name; });
    struct Expected {
        std::string name, ext;
        int64_t bytes, clusters;
        int32_t length, icon;
    };
    const std::vector<Expected> expected = {
        {Long65, "", 2048, 1, 65, 9},       {"archive.tar.gz", ".gz", 4096, 2, 14, 9},
        {"empty", "", 0, 0, 5, 9},          {"link", "", 0, 0, 4, 9},
        {"one.txt", ".txt", 2048, 1, 7, 9}, {"sub.d", ".d", 6144, 3, 5, FolderIconIndex},
    };
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].name, expected[i].name);
        EXPECT_EQ(rows[i].ext, expected[i].ext) << rows[i].name;
        EXPECT_EQ(rows[i].bytes, expected[i].bytes) << rows[i].name;
        EXPECT_EQ(rows[i].clusters, expected[i].clusters) << rows[i].name;
        EXPECT_EQ(rows[i].length, expected[i].length) << rows[i].name;
        EXPECT_EQ(rows[i].icon, expected[i].icon) << rows[i].name;
    }
    EXPECT_EQ(rows[2].lastModified, TimestampText(written));
    EXPECT_EQ(rows[3].lastModified, TimestampText(written));
    EXPECT_EQ(rows[5].lastModified, TimestampText(written));

    // The picture is asked for by the kind the listing read: the link as a link.
    std::vector<std::pair<std::string, EntryKind>> asked;
    for (size_t i = 0; i < icons.asked.size(); ++i)
        asked.emplace_back(icons.asked[i], icons.kinds[i]);
    std::sort(asked.begin(), asked.end());
    using K = EntryKind;
    EXPECT_EQ(asked, (std::vector<std::pair<std::string, EntryKind>>{
                         {tree.Path(Long65), K::File},
                         {tree.Path("archive.tar.gz"), K::File},
                         {tree.Path("empty"), K::File},
                         {tree.Path("link"), K::Link},
                         {tree.Path("one.txt"), K::File}}));
}

TEST(ListFolderTest, NoFolderGivesNoRows) {
    TempTree tree;
    FolderList list;
    NoIcons icons;
    ListFolder("", list, icons);
    ListFolder(tree.Path("missing/"), list, icons);
    ListFolder(tree.Root(), list, icons);
    EXPECT_TRUE(list.rows.empty());
}

} // namespace
} // namespace ketrilo
