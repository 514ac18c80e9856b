// What the progress display shows while a plan is made with the libisofs image: each file
// and folder of the well once, though the plan reads them again for its images.
#include "../core/TempTree.h"
#include "core/base/WorkProgress.h"
#include "core/plan/SpanningPlan.h"
#include "image/IsoDiscImage.h"

#include <gtest/gtest.h>

namespace ketrilo {
namespace {

using test::TempTree;

TEST(PlanProgress, CountsEachFileAndFolderOnce) {
    constexpr int64_t Sector = 2048;
    TempTree t;
    const std::vector<std::string> well = {t.Folder("photos"), t.File("lone.bin", 700 * Sector)};
    t.Folder("photos/2024");
    int64_t bytes = 700 * Sector;
    for (int i = 0; i < 12; ++i) {
        t.File("photos/2024/img" + std::to_string(i), (100 + i) * Sector + 1);
        bytes += (100 + i) * Sector + 1;
    }
    std::vector<std::string> paths = well;
    for (std::string& path : paths)
        if (path.back() == '/')
            path.pop_back();

    WorkProgress progress;
    IsoDiscImage image;
    const SpanningPlan plan = PlanDiscs(paths, 1000, image, &progress); // several discs
    ASSERT_GT(plan.discs.size(), 1u);
    const WorkProgress::Snapshot counted = progress.Read();
    EXPECT_EQ(counted.files, 13);
    EXPECT_EQ(counted.folders, 2);
    EXPECT_EQ(counted.bytes, bytes);
}

} // namespace
} // namespace ketrilo
