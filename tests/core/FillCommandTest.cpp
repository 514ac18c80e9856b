#include "cli/FillCommand.h"
#include "CommandRun.h"
#include "TempTree.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace ketrilo {
namespace {

using test::TempTree;

constexpr int64_t Sector = 2048;

using Result = test::CommandResult;

Result RunFill(const std::vector<std::string>& args, const std::string& ini) {
    return test::RunWithModelImage(RunFillCommand, args, ini);
}

TEST(FillCommand, PrintsTheFullestSetThenTheImageAndTheFreeSectors) {
    TempTree t;
    std::ofstream(t.Path("p.ini")) << "[setting]\nItems=1\n[Item01]\nName=Small\nCount=100\n";
    const std::string well = t.File("w", 20 * Sector);
    const std::vector<std::string> candidates = {t.File("a", 50 * Sector), t.File("b", 30 * Sector),
                                                 t.File("c", 45 * Sector),
                                                 t.File("d\nx", 4 * Sector)};
    std::vector<std::string> args = {"--profile", "Small", "--well", well};
    args.insert(args.end(), candidates.begin(), candidates.end());
    // The model image: 30 fixed sectors, the data, and one sector of records.
    const Result r = RunFill(args, t.Path("p.ini"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, t.Path("c") + "\n" + t.Path("d\\nx") + "\nimage\t100\t204800\nfree\t0\n");

    const Result full =
        RunFill({"--profile", "Small", "--well", t.File("big", 90 * Sector), candidates[0]},
                t.Path("p.ini"));
    EXPECT_EQ(full.status, 1) << full.err;
    EXPECT_EQ(full.out, "image\t121\t247808\nfree\t-21\n");
}

TEST(FillCommand, UsageErrorsAndMissingPathsEndWithTwo) {
    TempTree t;
    const std::string file = t.File("f", Sector);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"--well"}, {"--well", file}, {"--profile", "Nope", file}, {"--image", file}}) {
        const Result bad = RunFill(args, t.Path("none.ini"));
        EXPECT_EQ(bad.status, 2) << bad.out;
        EXPECT_NE(bad.err.find("ketrilo --fill"), std::string::npos) << bad.err;
    }
    const Result missing = RunFill({"--well", t.Path("gone"), file, t.Path("lost")}, "");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("cannot reach " + t.Path("gone")), std::string::npos);
    EXPECT_NE(missing.err.find("cannot reach " + t.Path("lost")), std::string::npos);
    EXPECT_NE(missing.out.find(file + "\nimage\t"), std::string::npos) << missing.out;
}

} // namespace
} // namespace ketrilo
