#include "core/PlanCommand.h"
#include "ModelImage.h"
#include "TempTree.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace ketrilo {
namespace {

using test::ModelImage;
using test::TempTree;

struct Result {
    int status;
    std::string out, err;
};

Result RunPlan(const std::vector<std::string>& args, const std::string& ini) {
    std::ostringstream out, err;
    ModelImage image;
    const int status = RunPlanCommand(args, ini, image, out, err);
    return {status, out.str(), err.str()};
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
                                               {"--out", "/nonexistent", t.Path("d")}}) {
        const Result bad = RunPlan(args, t.Path("p.ini"));
        EXPECT_EQ(bad.status, 2) << bad.out;
        EXPECT_NE(bad.err.find("ketrilo --plan"), std::string::npos) << bad.err;
    }
}

} // namespace
} // namespace ketrilo
