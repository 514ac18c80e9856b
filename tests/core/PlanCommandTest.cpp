#include "cli/PlanCommand.h"
#include "CommandRun.h"
#include "TempTree.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace ketrilo {
namespace {

using test::TempTree;

using Result = test::CommandResult;

Result RunPlan(const std::vector<std::string>& args, const std::string& ini) {
    return test::RunWithModelImage(RunPlanCommand, args, ini);
}

TEST(PlanCommand, PrintsOneBlockPerDiscWritesTheListsAndReportsHugeFiles) {
    TempTree t;
    std::ofstream(t.Path("p.ini")) << "[setting]\nItems=1\n[Item01]\nName=Small\nCount=100\n";
    t.Folder("d");
    t.File("d/a", 60 * 2048);
    t.File("d/b", 60 * 2048);
    t.File("huge", 200 * 2048);
    const std::string lists = t.Folder("lists");
    const Result r = RunPlan({"--profile", "Small", "--out", lists, t.Path("d"), t.Path("huge")},
                             t.Path("p.ini"));
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.out.find("disc\t1\t"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("item\ta\t" + t.Path("d/a") + "\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("item\tb\t" + t.Path("d/b") + "\n\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n\nlarge\t" + t.Path("huge") + "\ndiscs\t2\t"), std::string::npos)
        << r.out;
    std::stringstream both;
    both << std::ifstream(lists + "disc-01.list").rdbuf()
         << std::ifstream(lists + "disc-02.list").rdbuf();
    EXPECT_NE(both.str().find("\nb=" + t.Path("d/b") + "\n"), std::string::npos) << both.str();
    EXPECT_NE(r.out.find("list\t" + lists + "disc-02.list\n"), std::string::npos) << r.out;

    for (const auto& args :
         std::vector<std::vector<std::string>>{{},
                                               {"--out"},
                                               {"--profile", "Nope", t.Path("d")},
                                               {"--out", t.Path("huge/sub"), t.Path("d")},
                                               {"--out", "", t.Path("d")}}) {
        const Result bad = RunPlan(args, t.Path("p.ini"));
        EXPECT_EQ(bad.status, 2) << bad.out;
        EXPECT_NE(bad.err.find("ketrilo --plan"), std::string::npos) << bad.err;
    }
}

// Lines of text that start with prefix.
int LinesStartingWith(const std::string& text, const std::string& prefix) {
    int count = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        count += line.starts_with(prefix);
    return count;
}

TEST(PlanCommand, NamesPrintEscapedEachEntryOnceAndAMissingOneOnStandardError) {
    TempTree t;
    const std::string evil = "evil\n\ndiscs\t1\t1\nlarge\tfake\xff";
    t.Folder(evil);
    t.File(evil + "/f", 2048);
    t.Folder("d");
    const Result r = RunPlan({t.Path(evil), t.Path("d"), t.Path("d")}, "/nonexistent");
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string escaped = "evil\\n\\ndiscs\\t1\\t1\\nlarge\\tfake\\xFF";
    EXPECT_NE(r.out.find("item\t" + escaped + "\t" + t.Path(escaped) + "\n"), std::string::npos)
        << r.out;
    EXPECT_EQ(LinesStartingWith(r.out, "discs\t"), 1) << r.out;
    EXPECT_EQ(LinesStartingWith(r.out, "large\t"), 0) << r.out;
    EXPECT_EQ(LinesStartingWith(r.out, "item\td\t"), 1) << r.out;
    EXPECT_NE(r.err.find("counted once: " + t.Path("d")), std::string::npos) << r.err;

    const Result missing = RunPlan({t.Path("d"), "/no/such"}, "/nonexistent");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("ketrilo --plan: cannot reach /no/such: "), std::string::npos)
        << missing.err;
    EXPECT_EQ(missing.out.find("such"), std::string::npos) << missing.out;

    const Result root = RunPlan({"/"}, "/nonexistent");
    EXPECT_EQ(root.status, 2);
    EXPECT_NE(root.err.find("ketrilo --plan: "), std::string::npos) << root.err;
}

std::string Text(const std::string& file) {
    std::stringstream text;
    text << std::ifstream(file).rdbuf();
    return text.str();
}

TEST(PlanCommand, ListsOfAnEarlierPlanGoAndNothingOutsideTheFolderIsWritten) {
    TempTree t;
    std::ofstream(t.Path("p.ini")) << "[setting]\nItems=1\n[Item01]\nName=Small\nCount=100\n";
    t.Folder("many");
    for (int i = 0; i < 100; ++i)
        t.File("many/f" + std::to_string(i), 60 * 2048); // a disc each
    const std::string lists = t.Path("new/lists/");      // made by the plan
    Result r = RunPlan({"--profile", "Small", "--out", lists, t.Path("many")}, t.Path("p.ini"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("list\t" + lists + "disc-001.list\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("list\t" + lists + "disc-100.list\n"), std::string::npos) << r.out;

    // A one-disc plan over it: the hundred lists go, a link at the first is replaced.
    t.File("outside", 0);
    ASSERT_EQ(::symlink(t.Path("outside").c_str(), (lists + "disc-01.list").c_str()), 0);
    t.Folder("one");
    t.File("one/f", 2048);
    r = RunPlan({"--profile", "Small", "--out", lists, t.Path("one")}, t.Path("p.ini"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Text(t.Path("outside")), "");
    EXPECT_EQ(Text(lists + "disc-01.list"), "one=" + t.Path("one") + "\n");
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(lists)) {
        ++files;
        EXPECT_FALSE(entry.is_symlink()) << entry.path();
    }
    EXPECT_EQ(files, 1);

    // A plan that cannot be written leaves the lists there as they were.
    t.Folder("two");
    t.File("two/a", 60 * 2048);
    t.File("two/b\nc", 60 * 2048);
    r = RunPlan({"--profile", "Small", "--out", lists, t.Path("two/a"), t.Path("two/b\nc")},
                t.Path("p.ini"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("b\\nc"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("b\nc"), std::string::npos) << r.err;
    EXPECT_EQ(Text(lists + "disc-01.list"), "one=" + t.Path("one") + "\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(lists),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
} // namespace ketrilo
