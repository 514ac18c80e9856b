#include "cli/CommandLine.h"
#include "TempTree.h"

#include <gtest/gtest.h>

#include <sstream>

namespace ketrilo {
namespace {

struct Parsed {
    WindowCommandLine command;
    std::string out, err;
};

Parsed Parse(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    WindowCommandLine command = ParseWindowCommandLine(args, out, err);
    return {command, out.str(), err.str()};
}

TEST(CommandLine, HelpAndVersionPrintOnStandardOutput) {
    const Parsed help = Parse({"--help"});
    EXPECT_EQ(help.command.exitCode, 0);
    EXPECT_NE(help.out.find("ketrilo --measure [--profile NAME] PATH..."), std::string::npos);
    EXPECT_NE(help.out.find("ketrilo --plan [--profile NAME] [--out DIR] PATH..."),
              std::string::npos);
    EXPECT_NE(help.out.find("ketrilo --fill [--profile NAME] [--well PATH]... CANDIDATE..."),
              std::string::npos);
    EXPECT_NE(help.out.find("ketrilo [FOLDER]"), std::string::npos);
    EXPECT_TRUE(help.err.empty());
    std::istringstream lines(help.out);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(line.size(), 80u) << line;

    const Parsed version = Parse({"/nonexistent", "--version"});
    EXPECT_EQ(version.command.exitCode, 0);
    EXPECT_TRUE(version.out.starts_with("ketrilo ")) << version.out;
}

TEST(CommandLine, AFolderIsListedAsTheChooserGivesIt) {
    test::TempTree tree;
    tree.Folder("sub");
    EXPECT_EQ(Parse({tree.Path("sub/../sub/")}).command.folder, tree.Path("sub"));
    EXPECT_EQ(Parse({"--", "/"}).command.folder, "/");
    EXPECT_FALSE(Parse({}).command.exitCode);
    EXPECT_TRUE(Parse({}).command.folder.empty());
}

TEST(CommandLine, WrongUseIsOneLineAndCodeTwo) {
    test::TempTree tree;
    tree.File("file", 1);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--bogus"}, {"/", "/tmp"}, {tree.Path("file")}, {tree.Path("absent")}, {"-x"}}) {
        const Parsed parsed = Parse(args);
        EXPECT_EQ(parsed.command.exitCode, 2) << args.front();
        EXPECT_TRUE(parsed.out.empty());
        EXPECT_EQ(std::count(parsed.err.begin(), parsed.err.end(), '\n'), 1) << parsed.err;
    }
}

} // namespace
} // namespace ketrilo
