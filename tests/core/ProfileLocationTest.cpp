#include "core/profiles/ProfileLocation.h"
#include "TempTree.h"
#include "core/profiles/ProfileFile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace ketrilo {
namespace {

using test::TempTree;

// An installed program under root/bin with the three places a disc list can be.
struct InstalledTree {
    TempTree tree;
    std::string program = tree.Path("bin/ketrilo");
    std::string beside = tree.Path("bin/") + ProfileFileName;
    std::string user = tree.Path("config/ketrilo/") + ProfileFileName;
    std::string installed = InstalledDataFolder(program) + ProfileFileName;

    InstalledTree() {
        for (const std::string& path : {beside, user, installed}) {
            std::filesystem::create_directories(std::filesystem::path(path).parent_path());
            tree.File(std::filesystem::relative(path, tree.Root()).string(), 10);
        }
    }
    std::string Find() const { return FindProfileFile(program, tree.Path("config"), "/nohome"); }
};

TEST(FindProfileFile, BesideTheProgramThenTheUsersThenTheInstalledOne) {
    InstalledTree t;
    EXPECT_EQ(t.installed, t.tree.Path("share/ketrilo/") + ProfileFileName);
    EXPECT_EQ(t.Find(), t.beside);
    std::filesystem::remove(t.beside);
    EXPECT_EQ(t.Find(), t.user);
    std::filesystem::remove(t.user);
    // A folder of that name is no disc list.
    std::filesystem::create_directories(t.user);
    EXPECT_EQ(t.Find(), t.installed);
    std::filesystem::remove(t.installed);
    EXPECT_EQ(t.Find(), t.beside); // none: the program's own place, which reads as empty
}

TEST(FindProfileFile, TheUsersFolderFollowsTheXdgRules) {
    const auto userCandidate = [](const std::string& xdg, const std::string& home) {
        const auto candidates = ProfileFileCandidates("/usr/bin/ketrilo", xdg, home);
        return candidates.size() == 3 ? candidates[1] : std::string("(none)");
    };
    EXPECT_EQ(userCandidate("/x/cfg", "/home/u"), "/x/cfg/ketrilo/ketrilodisclist.ini");
    EXPECT_EQ(userCandidate("", "/home/u"), "/home/u/.config/ketrilo/ketrilodisclist.ini");
    EXPECT_EQ(userCandidate("relative", "/home/u/"), "/home/u/.config/ketrilo/ketrilodisclist.ini");
    EXPECT_EQ(userCandidate("", ""), "(none)");
    EXPECT_EQ(ProfileFileCandidates("/usr/bin/ketrilo", "", "").back(),
              "/usr/share/ketrilo/ketrilodisclist.ini");
}

} // namespace
} // namespace ketrilo
