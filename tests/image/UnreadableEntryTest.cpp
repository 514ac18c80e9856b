// Entries the user cannot read: the burner, run by the same user, stops on them, so the
// disc check names each one.
#include "../core/TempTree.h"
#include "../support/ChildOutput.h"
#include "cli/MeasureCommand.h"
#include "image/IsoDiscImage.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>
#include <string>

namespace ketrilo {
namespace {

// The output of "--measure --image path" as a user other than the superuser: the
// superuser reads everything, so the measure runs in a child process that takes the
// user "nobody" (65534) first. Empty when that user cannot be taken.
std::string MeasureImageAsUser(const std::string& path) {
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(3);
        std::ostringstream out, err;
        IsoDiscImage image;
        RunMeasureCommand({"--image", path}, "/nonexistent", out, err, &image);
        const std::string text = out.str();
        const bool written =
            write(fds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
        _exit(written ? 0 : 4);
    }
    close(fds[1]);
    return test::OutputOf(child, fds[0]).value_or(std::string());
}

TEST(UnreadableEntry, AFileOrFolderTheUserCannotReadIsACheckLine) {
    test::TempTree t;
    chmod(t.Root().c_str(), 0755); // the other user goes through it
    t.Folder("w");
    t.File("w/open", 4096);
    t.File("w/secret", 4096);
    t.Folder("w/closed");
    t.File("w/closed/inside", 4096);
    ASSERT_EQ(chmod(t.Path("w/secret").c_str(), 0), 0);
    ASSERT_EQ(chmod(t.Path("w/closed").c_str(), 0), 0);

    const std::string out = MeasureImageAsUser(t.Path("w"));
    if (out.empty())
        GTEST_SKIP() << "no other user to measure as";
    EXPECT_NE(out.find("\ncheck\tunreadable\t" + t.Path("w/secret") + "\n"), std::string::npos)
        << out;
    EXPECT_NE(out.find("\ncheck\tunreadable\t" + t.Path("w/closed") + "\n"), std::string::npos)
        << out;
    EXPECT_EQ(out.find(t.Path("w/open")), std::string::npos) << out;
    EXPECT_EQ(out.find("inside"), std::string::npos) << out;
}

} // namespace
} // namespace ketrilo
