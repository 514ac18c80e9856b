// Paths through symbolic links, as the system, ls and du take them: the links on the way
// to a path are followed; a link that ends the path is an entry of its own unless a "/",
// "." or ".." after it makes the system go through it. Each case at a short path and at
// one of about 8,000 bytes, twice what the system takes in one call.
#include "TempTree.h"
#include "cli/CommandLine.h"
#include "cli/MeasureCommand.h"
#include "core/base/KetriloError.h"
#include "core/disk/DirectorySearch.h"
#include "core/disk/UniqueFd.h"
#include "core/plan/PlanTree.h"
#include "core/text/SystemErrorText.h"
#include "core/workspace/DragOut.h"
#include "core/workspace/MeasureFolder.h"
#include "core/workspace/NoIcons.h"
#include "core/workspace/Registration.h"
#include "core/workspace/Rename.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <sstream>
#include <string>

namespace ketrilo {
namespace {

using test::TempTree;

// Under base, as on Debian 12: usr/lib holds the files, lib is a link to it, and loop a
// link to itself. usr/lib/sub holds files of 1 and 2049 bytes (3 clusters), usr/lib
// itself x.bin of 5000 bytes (3 clusters more).
class LinkedPathTest : public ::testing::TestWithParam<bool> {
protected:
    static constexpr int Depth = 40;

    void SetUp() override {
        tree.Folder("top");
        base = tree.Path("top/");
        UniqueFd folder(open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (GetParam()) {
            tree.DeepChain("top", Depth, Name, 0);
            for (int i = 0; i < Depth; ++i) {
                folder.Reset(openat(folder.Get(), Name.c_str(), O_RDONLY | O_DIRECTORY));
                base += Name + "/";
            }
            ASSERT_GT(base.size(), 8000u);
        }
        const int at = folder.Get();
        ASSERT_GE(at, 0);
        for (const char* name : {"usr", "usr/lib", "usr/lib/sub"})
            ASSERT_EQ(mkdirat(at, name, 0755), 0) << name;
        for (const auto& [name, size] : std::map<std::string, off_t>{
                 {"usr/lib/sub/a", 1}, {"usr/lib/sub/b", 2049}, {"usr/lib/x.bin", 5000}}) {
            const UniqueFd file(openat(at, name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
            ASSERT_TRUE(file.Valid() && ftruncate(file.Get(), size) == 0) << name;
        }
        ASSERT_EQ(symlinkat("usr/lib", at, "lib"), 0);
        ASSERT_EQ(symlinkat("loop", at, "loop"), 0);
    }

    const std::string Name = std::string(200, 'n');
    TempTree tree;
    std::string base; // ends in "/"
};

struct Measured {
    int status;
    std::string out, err;
};

Measured Measure(const std::string& path) {
    std::ostringstream out, err;
    const int status = RunMeasureCommand({path}, "/nonexistent", out, err);
    return {status, out.str(), err.str()};
}

std::map<std::string, int64_t> ClustersByName(const FolderList& list) {
    std::map<std::string, int64_t> rows;
    for (const FolderRow& row : list.rows)
        rows[row.name] = row.clusters;
    return rows;
}

TEST_P(LinkedPathTest, ListedThroughALinkOnTheWay) {
    NoIcons icons;
    FolderList list;
    ListFolder(base + "lib/", list, icons);
    EXPECT_EQ(ClustersByName(list), (std::map<std::string, int64_t>{{"sub", 3}, {"x.bin", 3}}));
    list.rows.clear();
    ListFolder(base + "lib/sub/", list, icons);
    EXPECT_EQ(ClustersByName(list), (std::map<std::string, int64_t>{{"a", 1}, {"b", 2}}));

    // "ketrilo LINK" lists the link's folder, as ls does; so does a folder past the
    // length the system takes in one call.
    for (const std::string& named : {base + "lib", base + "lib/sub/..", base + "usr/lib/"}) {
        std::ostringstream out, err;
        const WindowCommandLine command = ParseWindowCommandLine({named}, out, err);
        EXPECT_FALSE(command.exitCode) << named << ": " << err.str();
        Workspace ws;
        ListFolderAnew(ws, command.folder, icons);
        EXPECT_EQ(ClustersByName(ws.folderList),
                  (std::map<std::string, int64_t>{{"sub", 3}, {"x.bin", 3}}))
            << named;
    }
}

// The walk goes through the links on the way to its folder, never through one in the
// folder's own place: callers hand it folders, so a link there took a folder's place
// since it was read.
TEST_P(LinkedPathTest, AWalkStartsThroughALinkOnTheWayOnly) {
    NoIcons icons;
    LongNameList longNames;
    EXPECT_EQ(MeasureFolder(base + "lib/sub/", false, longNames, icons), 3);
    EXPECT_EQ(MeasureFolder(base + "lib/", false, longNames, icons), 0);
    EXPECT_EQ(MeasureFolder(base + "lib", false, longNames, icons), 0);
}

TEST_P(LinkedPathTest, DroppedThroughALinkAsDuCountsIt) {
    NoIcons icons;
    Workspace ws;
    const std::string target = base + "usr/lib";
    RegisterDroppedPaths(ws, {base + "lib/sub", base + "lib/x.bin", base + "lib", base + "lib/"},
                         icons, [](const std::string&) {});
    ASSERT_EQ(ws.well.Size(), 4u);
    EXPECT_EQ(ws.well.At(0).FullPath(), base + "lib/sub");
    EXPECT_EQ(ws.well.At(0).clusters, 3);
    EXPECT_EQ(ws.well.At(0).icon, FolderIconIndex);
    EXPECT_EQ(ws.well.At(1).clusters, 3);
    // "du lib" counts the link itself; "du lib/" the folder it leads to.
    EXPECT_EQ(ws.well.At(2).FullPath(), base + "lib");
    EXPECT_EQ(ws.well.At(2).clusters, 0);
    EXPECT_EQ(ws.well.At(3).FullPath(), target);
    EXPECT_EQ(ws.well.At(3).clusters, 6);
    EXPECT_EQ(ws.well.At(3).icon, FolderIconIndex);
}

TEST_P(LinkedPathTest, MeasuredThroughALinkAsDuCountsIt) {
    const std::string target = base + "usr/lib";
    for (const std::string spelling : {"lib/", "lib/.", "lib/sub/..", "lib//./"}) {
        const Measured m = Measure(base + spelling);
        EXPECT_EQ(m.status, 0) << spelling << ": " << m.err;
        EXPECT_TRUE(m.out.starts_with("6\t12288\t" + target + "\n")) << spelling << ": " << m.out;
    }
    const Measured file = Measure(base + "lib/x.bin");
    EXPECT_EQ(file.status, 0) << file.err;
    EXPECT_TRUE(file.out.starts_with("3\t6144\t" + base + "lib/x.bin\n")) << file.out;
    const Measured link = Measure(base + "lib");
    EXPECT_EQ(link.status, 0) << link.err;
    EXPECT_TRUE(link.out.starts_with("0\t0\t" + base + "lib\n")) << link.out;
}

TEST_P(LinkedPathTest, PlannedThroughALink) {
    const PlanTree planned = ScanPlanTree({base + "lib/sub", base + "lib/", base + "lib"}, nullptr);
    ASSERT_EQ(planned.roots.size(), 3u);
    const auto root = [&](size_t i) -> const PlanNode& {
        return planned.nodes[planned.roots[i]];
    };
    EXPECT_EQ(root(0).wellClusters, 3);
    EXPECT_EQ(root(0).children.size(), 2u);
    EXPECT_EQ(root(1).diskPath, base + "usr/lib");
    EXPECT_EQ(root(1).wellClusters, 6);
    EXPECT_FALSE(root(2).isFolder); // the link itself
}

TEST_P(LinkedPathTest, DraggedOutAndRenamedThroughALink) {
    EXPECT_NO_THROW(CheckDragPaths({base + "lib/sub/a", base + "lib/x.bin", base + "lib"}));
    // The folder is opened once and the name changed inside it, never over another entry.
    EXPECT_FALSE(RenameOnDisk(base + "lib/sub/", "a", "b"));
    EXPECT_TRUE(RenameOnDisk(base + "lib/sub/", "a", "c"));
    EXPECT_EQ(DirectorySearch::Entry(base + "usr/lib/sub/c", faAnyFile).Current().Size, 1);
    EXPECT_EQ(DirectorySearch::Entry(base + "usr/lib/sub/b", faAnyFile).Current().Size, 2049);
}

TEST_P(LinkedPathTest, ALinkThatLoopsIsReportedWithThePath) {
    const std::string loopText = std::strerror(ELOOP);
    for (const std::string spelling : {"loop/x", "loop/", "loop/sub/.."}) {
        const Measured m = Measure(base + spelling);
        EXPECT_EQ(m.status, 2) << spelling;
        EXPECT_EQ(m.err,
                  "ketrilo --measure: cannot reach " + base + spelling + ": " + loopText + "\n");
    }
    try {
        CheckDragPaths({base + "lib/x.bin", base + "loop/x"});
        FAIL() << "a path through a loop must fail the drag";
    } catch (const KetriloError& error) {
        EXPECT_EQ(error.what(), base + "loop/x: " + SystemErrorText(ELOOP));
    }
    std::ostringstream out, err;
    EXPECT_EQ(ParseWindowCommandLine({base + "loop"}, out, err).exitCode, 2);
}

INSTANTIATE_TEST_SUITE_P(ShortAndLong, LinkedPathTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "PastTheSystemsLength" : "Short";
                         });

} // namespace
} // namespace ketrilo
