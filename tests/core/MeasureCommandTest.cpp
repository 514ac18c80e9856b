#include "cli/MeasureCommand.h"
#include "TempTree.h"
#include "cli/CommandWords.h"
#include "core/workspace/CapacityStatus.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace ketrilo {
namespace {

using test::TempTree;

const std::string Long65(65, 'L');

struct Result {
    int status;
    std::string out, err;
};

Result RunCommand(const std::vector<std::string>& args,
                  const std::string& profileFile = "/nonexistent") {
    std::ostringstream out, err;
    const int status = RunMeasureCommand(args, profileFile, out, err);
    return {status, out.str(), err.str()};
}

std::string StatusLine(int64_t clusters, int64_t capacity = DefaultCapacityClusters) {
    return ComputeCapacityStatus(clusters, capacity).statusLine + "\n";
}

// Runs in folder as the current directory and goes back afterwards.
class InFolder {
public:
    explicit InFolder(const std::string& folder) : m_saved(getcwd(nullptr, 0)) {
        EXPECT_EQ(chdir(folder.c_str()), 0);
    }
    ~InFolder() {
        EXPECT_EQ(chdir(m_saved), 0);
        free(m_saved);
    }

private:
    char* m_saved;
};

class MeasureCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        tree.Folder("d");
        tree.File("d/one", 1);
        tree.File("d/more", 2049);
        tree.File("d/" + Long65, 0);
        tree.File("x", 1);
        std::ofstream(tree.Path("profiles.ini")) << "[setting]\nItems=4\n"
                                                    "[Item01]\nName=Tiny\nCount=3\n"
                                                    "[Item02]\nName=Exact\nCount=4\n"
                                                    "[Item03]\nName=Broken\nCount=4000MB\n"
                                                    "[Item04]\nName=Empty\nCount=0\n";
    }
    TempTree tree;
};

TEST_F(MeasureCommandTest, PrintsItemsLongNamesAndStatus) {
    const Result r = RunCommand({tree.Path("d"), tree.Path("x"), tree.Path("d/")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "3\t6144\t" + tree.Path("d") + "\n" + "1\t2048\t" + tree.Path("x") + "\n" +
                         "long\t65\t" + tree.Path("d/" + Long65) + "\n" + StatusLine(4));
    EXPECT_NE(r.err.find(tree.Path("d")), std::string::npos); // the path counted once
}

// A typo in a script must not read as an empty item that fits.
TEST_F(MeasureCommandTest, MissingPathIsNamedAndTheRestPrinted) {
    const Result r = RunCommand({tree.Path("gone"), tree.Path("x"), "/no/such/path"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "1\t2048\t" + tree.Path("x") + "\n" + StatusLine(1));
    EXPECT_NE(r.err.find("cannot reach " + tree.Path("gone") + ": "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("cannot reach /no/such/path: "), std::string::npos) << r.err;
}

// 2,048 names of one sparse file of 2^63-1 bytes: 2^63 clusters, one more than 64 bits hold.
TEST(MeasureCommandSaturation, AHugeTotalStaysAtTheLargestFigureAndNeverFits) {
    const TempTree tree("/dev/shm");
    tree.Folder("one");
    try {
        tree.File("one/huge", INT64_MAX);
    } catch (const std::exception&) {
        GTEST_SKIP() << "no file system here takes a file of 2^63-1 bytes";
    }
    for (int i = 1; i < 2048; ++i)
        ASSERT_EQ(
            link(tree.Path("one/huge").c_str(), tree.Path("one/h" + std::to_string(i)).c_str()), 0);

    const std::string largest = std::to_string(INT64_MAX);
    const Result folder = RunCommand({tree.Path("one")});
    EXPECT_EQ(folder.status, 1);
    EXPECT_EQ(folder.out,
              largest + "\t" + largest + "\t" + tree.Path("one") + "\n" + StatusLine(INT64_MAX));

    const Result both = RunCommand({tree.Path("one/huge"), tree.Path("one")});
    EXPECT_EQ(both.status, 1);
    EXPECT_EQ(both.out, std::to_string(int64_t{1} << 52) + "\t" + largest + "\t" +
                            tree.Path("one/huge") + "\n" + largest + "\t" + largest + "\t" +
                            tree.Path("one") + "\n" + StatusLine(INT64_MAX));
    EXPECT_NE(both.out.find("クラスタ:9,223,372,036,854,775,807個 サイズ:9,223,372,036,854,775,807"
                            "バイト(2147483647%) 残り容量:-9,223,372,036,854,775,808バイト"),
              std::string::npos)
        << both.out;
}

TEST_F(MeasureCommandTest, RelativePathsBecomeAbsolute) {
    tree.File("d/-", 0);
    const InFolder here(tree.Path("d"));
    const Result r = RunCommand({"./../x", "..//d/.", "-"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "1\t2048\t" + tree.Path("x") + "\n" + "3\t6144\t" + tree.Path("d") + "\n" +
                         "0\t0\t" + tree.Path("d/-") + "\n" + "long\t65\t" +
                         tree.Path("d/" + Long65) + "\n" + StatusLine(4));
}

TEST_F(MeasureCommandTest, EverySpellingOfAnEntryIsOneItemAsTheSystemReachesIt) {
    tree.Folder("d/inner");
    tree.File("d/x", 2048);
    tree.Link("l", tree.Path("d/inner"));
    const Result r = RunCommand({tree.Path("d/../x"), tree.Path("/x"), tree.Path("./x/"),
                                 tree.Path("l/../x")}); // the link's "..": d, not the tree
    EXPECT_EQ(r.out, "1\t2048\t" + tree.Path("x") + "\n" + "1\t2048\t" + tree.Path("d/x") + "\n" +
                         StatusLine(2));
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
}

TEST_F(MeasureCommandTest, ANameCannotPassForALine) {
    const std::string forged = "a\n9\t18432\tetc\\x\x1B[2J\xC2\x9B\xFF\x7F.txt";
    tree.File(forged, 1);
    const Result r = RunCommand({tree.Path(forged), tree.Path(forged)});
    const std::string shown =
        tree.Root() + "a\\n9\\t18432\\tetc\\\\x\\x1B[2J\\xC2\\x9B\\xFF\\x7F.txt";
    EXPECT_EQ(r.out, "1\t2048\t" + shown + "\n" + StatusLine(1));
    EXPECT_EQ(r.err, "ketrilo --measure: counted once: " + shown + "\n");
}

TEST_F(MeasureCommandTest, DoubleDashEndsTheOptions) {
    tree.File("-x", 2048);
    tree.File("--profile", 1);
    const InFolder here(tree.Root());
    const Result r = RunCommand({"--", "-x", "--profile"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1\t2048\t" + tree.Path("-x") + "\n" + "1\t2048\t" + tree.Path("--profile") +
                         "\n" + StatusLine(2));
}

TEST_F(MeasureCommandTest, ProfileDecidesWhetherTheItemsFit) {
    const std::string ini = tree.Path("profiles.ini");
    const Result fits = RunCommand({"--profile", "Exact", tree.Path("d"), tree.Path("x")}, ini);
    EXPECT_EQ(fits.status, 0);
    EXPECT_TRUE(fits.out.ends_with(StatusLine(4, 4))) << fits.out;

    const Result over = RunCommand({tree.Path("d"), "--profile", "Tiny", tree.Path("x")}, ini);
    EXPECT_EQ(over.status, 1);
    EXPECT_TRUE(over.out.ends_with(StatusLine(4, 3))) << over.out;
}

TEST_F(MeasureCommandTest, BadUseGivesOneLineOnErrorAndStatusTwo) {
    const std::string ini = tree.Path("profiles.ini");
    const std::string path = tree.Path("x");
    struct Case {
        std::vector<std::string> args;
        std::string inMessage;
    };
    const std::vector<Case> cases = {
        {{}, "usage"},
        {{"--profile", "Tiny"}, "usage"},
        {{"--bogus", path}, "--bogus"},
        {{path, "--profile"}, "--profile"},
        {{"--profile", "tiny", path}, "tiny"},
        {{"--profile", "Broken", path}, "''4000MB'' は整数ではありません"},
        {{"--profile", "Empty", path}, "0 による浮動小数点数除算"},
        {{""}, "empty"},
    };
    for (const Case& c : cases) {
        const Result r = RunCommand(c.args, ini);
        EXPECT_EQ(r.status, 2) << c.inMessage;
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_NE(r.err.find(c.inMessage), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

TEST_F(MeasureCommandTest, AnUnknownProfileNamesTheDiscListAndItsDiscs) {
    const std::string ini = tree.Path("profiles.ini");
    const Result r = RunCommand({"--profile", "DVD", tree.Path("x")}, ini);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "ketrilo --measure: unknown profile DVD (the discs of " + ini +
                         ": \"Tiny\" \"Exact\" \"Broken\" \"Empty\"; see ketrilo "
                         "--list-profiles)\n");
    const Result none = RunCommand({"--profile", "DVD", tree.Path("x")});
    EXPECT_NE(none.err.find("/nonexistent lists no disc"), std::string::npos) << none.err;

    std::ostringstream out, err;
    EXPECT_EQ(RunListProfilesCommand({}, ini, out, err), 0);
    EXPECT_EQ(out.str(), "# " + ini + "\nTiny\nExact\nBroken\nEmpty\n");
    EXPECT_TRUE(err.str().empty());
    EXPECT_EQ(RunListProfilesCommand({"extra"}, ini, out, err), 2);
}

} // namespace
} // namespace ketrilo
