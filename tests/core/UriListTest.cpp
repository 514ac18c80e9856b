#include "core/disk/UriList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ketrilo;

using namespace std::literals;
using Paths = std::vector<std::string>;

TEST(LocalPathsFromUriList, TakesLocalFileUrlsAndSkipsComments) {
    EXPECT_EQ(LocalPathsFromUriList("# from a file manager\r\n"
                                    "file:///tmp/a%20b\r\n"
                                    "\r\n"
                                    "FILE://LocalHost/tmp/x\n"
                                    "file:/tmp/%E9%87%8D%ff\r\n"
                                    "  file:///  \r\n"
                                    "file:///tmp/%25%0A%2F\r\n"
                                    "#file://elsewhere/x\r\n"
                                    "\0"sv),
              Paths({"/tmp/a b", "/tmp/x", "/tmp/\xE9\x87\x8D\xFF", "/", "/tmp/%\n/"}));
}

TEST(LocalPathsFromUriList, RefusesTheDropForAnyLineThatIsNoLocalPath) {
    const char* refused[] = {
        "file://otherhost/tmp/x",              // another machine's file
        "file:///tmp/real%00/../../../../etc", // NUL: system calls would stop there
        "file:tree",
        "file:",
        "file://",
        "file://localhost", // no absolute path
        "http://example.org/x",
        "/tmp/x",
        "tmp/x",
        "x-file:///tmp/x",
        "file:///tmp/a%2",
        "file:///tmp/a%zz",
        "file:///tmp/a%", // broken escapes
        "file:///tmp/a?b",
        "file:///tmp/a#b", // not a file's path
        "file:///tmp/a\tb",
        "file:///tmp/\x7F", // raw control characters
    };
    for (const char* list : refused) {
        EXPECT_EQ(LocalPathsFromUriList(list), std::nullopt) << list;
        EXPECT_EQ(LocalPathsFromUriList(std::string("file:///ok\r\n") + list + "\r\n"),
                  std::nullopt)
            << list;
    }
    EXPECT_EQ(LocalPathsFromUriList(""), std::nullopt); // nothing to drop
    EXPECT_EQ(LocalPathsFromUriList("\r\n# only a comment\r\n"), std::nullopt);
}

TEST(LocalPathsFromUriList, TakesHugeListsAndPathsWhole) {
    std::string list;
    for (int i = 0; i < 100000; ++i)
        list += "file:///tmp/x\r\n";
    const std::string longPath = "/" + std::string(100000, 'n');
    list += "file://" + longPath;
    const std::optional<Paths> paths = LocalPathsFromUriList(list);
    ASSERT_TRUE(paths);
    ASSERT_EQ(paths->size(), 100001u);
    EXPECT_EQ(paths->back(), longPath);
}
