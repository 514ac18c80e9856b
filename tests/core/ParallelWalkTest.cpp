#include "RecordingIcons.h"
#include "TempTree.h"
#include "core/workspace/MeasureFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <sstream>
#include <string>

namespace ketrilo {
namespace {

using test::RecordingIcons;
using test::TempTree;

// A random tree: long names (some of multi-byte characters) at every depth, hidden
// entries, links to files, folders and upwards, FIFOs, empty and unreadable folders.
class RandomTree {
public:
    RandomTree(const TempTree& tree, unsigned seed) : m_tree(tree), m_random(seed) { Fill("", 0); }

private:
    std::string Name(const char* stem) {
        const int kind = Pick(10);
        std::string name = stem + std::to_string(m_count++);
        if (kind == 0)
            name = "." + name;
        else if (kind == 1)
            name += std::string(60 + Pick(10), 'L');
        else if (kind == 2)
            for (int i = 0; i < 22; ++i)
                name += "\xE3\x81\x82"; // three bytes, one unit each
        return name;
    }
    int Pick(int below) { return static_cast<int>(m_random() % static_cast<unsigned>(below)); }

    void Fill(const std::string& folder, int depth) {
        for (int i = Pick(6); i > 0; --i)
            m_tree.File(folder + Name("f"), Pick(4) == 0 ? 0 : Pick(3 * 2048));
        if (Pick(4) == 0)
            m_tree.Link(folder + Name("l"), Pick(2) == 0 ? ".." : ".");
        if (Pick(8) == 0)
            m_tree.Fifo(folder + Name("p"));
        if (depth == 6)
            return;
        for (int i = Pick(depth < 2 ? 5 : 3); i > 0; --i) {
            const std::string sub = folder + Name("d");
            m_tree.Folder(sub);
            Fill(sub + "/", depth + 1);
            if (Pick(12) == 0)
                chmod(m_tree.Path(sub).c_str(), 0);
        }
    }

    const TempTree& m_tree;
    std::mt19937 m_random;
    int m_count = 0;
};

// Everything a walk gives back, as one text.
std::string Walk(const std::string& folder, bool collect, const WalkOptions& options) {
    LongNameList longNames;
    RecordingIcons icons;
    WorkProgress progress;
    const int64_t total = MeasureFolder(folder, collect, longNames, icons, &progress, options);
    const WorkProgress::Snapshot counts = progress.Read();
    std::ostringstream text;
    text << total << ' ' << counts.files << ' ' << counts.folders << ' ' << counts.bytes << '\n';
    for (const LongNameRow& row : longNames.Rows())
        text << row.folder << '|' << row.name << '|' << row.length << '|' << row.icon << '\n';
    for (const std::string& asked : icons.asked)
        text << "icon " << asked << '\n';
    return text.str();
}

// Permissions do not bind root: compare from a child process that gave its rights up.
bool Unprivileged(const std::function<bool()>& check) {
    if (geteuid() != 0)
        return check();
    const pid_t child = fork();
    if (child == 0)
        _exit(setgid(65534) == 0 && setuid(65534) == 0 && check() ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(ParallelWalkTest, GivesExactlyWhatOneThreadGives) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        TempTree tree;
        ASSERT_EQ(chmod(tree.Root().c_str(), 0755), 0);
        const RandomTree made(tree, seed);
        WalkOptions oneThread;
        oneThread.threads = 1;
        WalkOptions handedOver; // every folder that can be goes through the queue
        handedOver.threads = 3;
        handedOver.helpersAfterFolders = 1;
        handedOver.shareEveryFolder = true;
        WalkOptions sharedWhenIdle;
        sharedWhenIdle.threads = 4;
        sharedWhenIdle.helpersAfterFolders = 2;
        const bool same = Unprivileged([&] {
            for (const bool collect : {true, false}) {
                const std::string expected = Walk(tree.Root(), collect, oneThread);
                if (Walk(tree.Root(), collect, handedOver) != expected ||
                    Walk(tree.Root(), collect, sharedWhenIdle) != expected)
                    return false;
            }
            return true;
        });
        EXPECT_TRUE(same) << "seed " << seed;
    }
}

} // namespace
} // namespace ketrilo
