// "ketrilo --measure --image": the image line, the check lines and the exit status.
#include "../core/TempTree.h"
#include "cli/MeasureCommand.h"
#include "image/IsoDiscImage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace ketrilo {
namespace {

using test::TempTree;

TEST(MeasureImageCommandTest, ImageLineChecksAndTheImageDecidesTheStatus) {
    TempTree tree;
    tree.Folder("d");
    tree.File("d/a:b", 1);
    const std::string ini = tree.Path("profiles.ini");
    // One cluster of files fits ten clusters; the image around it does not.
    std::ofstream(ini) << "[setting]\nItems=1\n[Item01]\nName=Ten\nCount=10\n";
    IsoDiscImage image;
    std::ostringstream out, err;

    EXPECT_EQ(RunMeasureCommand({"--profile", "Ten", tree.Path("d")}, ini, out, err, &image), 0);
    EXPECT_EQ(out.str().find("image\t"), std::string::npos);

    out.str("");
    EXPECT_EQ(
        RunMeasureCommand({"--image", "--profile", "Ten", tree.Path("d")}, ini, out, err, &image),
        1);
    const int64_t sectors = image.Measure({{"d", tree.Path("d")}}, nullptr).sectors;
    EXPECT_GT(sectors, 10);
    const std::string text = out.str();
    EXPECT_NE(text.find("\nimage\t" + std::to_string(sectors) + "\t" +
                        std::to_string(sectors * 2048) + "\ncheck\tjoliet-character\t" +
                        tree.Path("d/a:b") + "\nクラスタ:1個"),
              std::string::npos)
        << text;

    std::ostringstream noImageErr;
    EXPECT_EQ(RunMeasureCommand({"--image", tree.Path("d")}, ini, out, noImageErr), 2);
    EXPECT_FALSE(noImageErr.str().empty());
}

} // namespace
} // namespace ketrilo
