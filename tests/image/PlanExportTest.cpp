// Plans made with the libisofs image, exported, and built by xorriso and genisoimage:
// every disc's image fits, and is the image of that disc taken into the well.
#include "../core/TempTree.h"
#include "cli/GraftList.h"
#include "core/base/KetriloError.h"
#include "core/image/DiscImageStatus.h"
#include "core/plan/PlannedDiscLoad.h"
#include "core/plan/SpanningPlan.h"
#include "core/workspace/NoIcons.h"
#include "image/IsoDiscImage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace ketrilo {
namespace {

using test::TempTree;

// The sectors of "xorriso -as mkisofs -R -J -iso-level 3 -no-pad -graft-points
// -print-size -path-list FILE"; -1 when xorriso gives none.
int64_t XorrisoSectors(const std::string& listFile) {
    const std::string command = "xorriso -as mkisofs -R -J -iso-level 3 -no-pad -graft-points "
                                "-print-size -path-list '" +
                                listFile + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return -1;
    long long sectors = -1;
    if (std::fscanf(pipe, "%lld", &sectors) != 1)
        sectors = -1;
    pclose(pipe);
    return sectors;
}

constexpr int64_t Sector = 2048;
constexpr int64_t Capacity = 3000;

struct Tree {
    const char* kind;
    std::function<std::vector<std::string>(const TempTree&)> make;
};

uint64_t Next(uint64_t& x) {
    x = x * 6364136223846793005ULL + 1442695040888963407ULL;
    return x >> 33;
}

const Tree Trees[] = {
    {"many small files",
     [](const TempTree& t) {
         uint64_t x = 1;
         std::vector<std::string> well;
         for (int f = 0; f < 12; ++f) {
             const std::string folder = std::string("f") + std::to_string(f);
             well.push_back(t.Folder(folder));
             for (int i = 0; i < 60; ++i)
                 t.File(folder + "/file" + std::to_string(i), int64_t(Next(x) % (20 * Sector)));
         }
         return well;
     }},
    {"a few huge files",
     [](const TempTree& t) {
         std::vector<std::string> well;
         for (int i = 0; i < 7; ++i)
             well.push_back(t.File("huge" + std::to_string(i), (900 + 150 * i) * Sector));
         return well;
     }},
    {"folders larger than a disc",
     [](const TempTree& t) {
         std::vector<std::string> well = {t.Folder("photos"), t.Folder("music")};
         for (int y = 0; y < 5; ++y) {
             const std::string year = "photos/" + std::to_string(2015 + y);
             t.Folder(year);
             for (int i = 0; i < 8; ++i)
                 t.File(year + "/img" + std::to_string(i) + ".jpg", (40 + 13 * i) * Sector);
         }
         for (int i = 0; i < 30; ++i)
             t.File("music/track" + std::to_string(i), (80 + i) * Sector + 5);
         return well;
     }},
    {"a mix",
     [](const TempTree& t) {
         std::vector<std::string> well = {t.Folder("a=b"), t.Folder("back\\slash"),
                                          t.Folder("日本語のフォルダ")};
         t.Folder("a=b/empty");
         t.File("a=b/.hidden", 500 * Sector);
         t.Link("a=b/link", "/nowhere");
         t.File("back\\slash/" + std::string(100, 'n'), 1500 * Sector);
         t.File("back\\slash/x=y", 1400 * Sector);
         for (int i = 0; i < 40; ++i)
             t.File("日本語のフォルダ/ファイル" + std::to_string(i), (i * 37 % 90) * Sector);
         well.push_back(t.File("lone", 1700 * Sector));
         t.Folder("twins");
         for (const char* side : {"twins/x", "twins/y"}) {
             t.Folder(side);
             t.Folder(std::string(side) + "/sub");
             for (const char* name : {"/sub/a.bin", "/sub/b.bin", "/sub/c.bin"})
                 t.File(side + std::string(name), 800 * Sector);
         }
         well.push_back(t.Path("twins"));
         for (std::string& path : well)
             if (path.back() == '/')
                 path.pop_back();
         return well;
     }},
};

TEST(PlanExport, EveryListBuildsAnImageWithinTheDiscForXorrisoAndGenisoimage) {
    ASSERT_EQ(std::system("command -v xorriso >/dev/null && command -v genisoimage >/dev/null"), 0)
        << "xorriso and genisoimage are installed by scripts/deps.sh";
    for (const Tree& tree : Trees) {
        SCOPED_TRACE(tree.kind);
        TempTree t;
        std::vector<std::string> well = tree.make(t);
        for (std::string& path : well)
            if (path.back() == '/')
                path.pop_back();
        IsoDiscImage image;
        const SpanningPlan plan = PlanDiscs(well, Capacity, image, nullptr);
        EXPECT_LE(static_cast<int64_t>(plan.discs.size()), plan.lowerBound + 1);
        const std::string out = t.Folder("lists");
        const std::vector<std::string> lists = WriteGraftLists(plan, out);
        ASSERT_EQ(lists.size(), plan.discs.size());
        for (size_t d = 0; d < lists.size(); ++d) {
            const std::string& list = lists[d];
            EXPECT_LE(XorrisoSectors(list), Capacity) << list;
            EXPECT_EQ(XorrisoSectors(list), plan.discs[d].sectors) << list;
            Workspace ws;
            NoIcons icons;
            (void)LoadPlannedDisc(ws, plan.discs[d], icons);
            EXPECT_EQ(image.Measure(ImageItemsOf(ws.well), nullptr).sectors, plan.discs[d].sectors)
                << list;
            const std::string genisoimage = "genisoimage -quiet -R -J -iso-level 3 -graft-points "
                                            "-print-size -path-list '" +
                                            list + "' >/dev/null 2>&1";
            EXPECT_EQ(std::system(genisoimage.c_str()), 0) << list;
        }
    }
}

// genisoimage takes "\\=" for an escaped "=" whatever comes before: a folder whose name
// ends in a backslash needs the line both tools read alike.
TEST(PlanExport, AFolderNamedWithATrailingBackslashBuildsWithBothTools) {
    TempTree t;
    const std::string folder = t.Folder("trail\\");
    t.File("trail\\/f", 3 * Sector);
    IsoDiscImage image;
    const SpanningPlan plan =
        PlanDiscs({folder.substr(0, folder.size() - 1)}, Capacity, image, nullptr);
    ASSERT_EQ(plan.discs.size(), 1u);
    const std::string list = WriteGraftLists(plan, t.Folder("lists")).at(0);
    EXPECT_EQ(XorrisoSectors(list), plan.discs[0].sectors) << list;
    const std::string genisoimage = "genisoimage -quiet -R -J -iso-level 3 -graft-points "
                                    "-print-size -path-list '" +
                                    list + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(genisoimage.c_str()), 0) << list;
}

TEST(PlanExport, ListsEscapeTheirSeparatorAndRefuseLineBreaks) {
    PlannedDisc disc;
    disc.items = {{"a=b/c\\d", "/x/a=b/c\\d", true, 0},
                  {"plain", "/x/plain", false, 0},
                  {"trail\\", "/x/trail\\", true, 0}};
    EXPECT_EQ(GraftList(disc), "a\\=b/c\\\\d=/x/a\\=b/c\\\\d\nplain=/x/plain\n"
                               "trail\\\\/=/x/trail\\\\\n");
    disc.items.push_back({"two\nlines", "/x/two\nlines", false, 0});
    EXPECT_THROW((void)GraftList(disc), KetriloError);
}

} // namespace
} // namespace ketrilo
