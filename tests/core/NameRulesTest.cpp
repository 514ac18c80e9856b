#include "core/text/NameRules.h"
#include "core/text/Paths.h"

#include <gtest/gtest.h>

#include <string>

using namespace ketrilo;

namespace {

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

const std::string Hiragana = "\xE3\x81\x82";  // U+3042, 3 bytes, 1 unit
const std::string Emoji = "\xF0\x9F\x98\x80"; // U+1F600, 4 bytes, 2 units

} // namespace

TEST(NameLength, CountsUtf16UnitsOfTheDecoding) {
    const struct {
        std::string name;
        int32_t units;
    } cases[] = {
        {"", 0},
        {"readme.txt", 10},
        {Hiragana + Hiragana, 2},
        {"\xC3\xA9", 1}, // é
        {Emoji, 2},
        {"a" + Emoji + "b", 4},
        {"\xFF", 1},             // never a UTF-8 byte
        {"\xC0\x80", 2},         // overlong NUL: each byte on its own
        {"\xED\xA0\x80", 3},     // encoded surrogate
        {"\xF4\x90\x80\x80", 4}, // beyond U+10FFFF
        {"\xE3\x81"
         "a",
         3},             // cut short before an ASCII byte
        {"\xE3\x81", 2}, // cut short at the end
        {"\x80"
         "a",
         2}, // stray continuation byte
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameLength(c.name), c.units) << c.name;
    }
}

TEST(NameLength, LongNameBoundaryIs65Units) {
    EXPECT_TRUE(IsNameWithinLimit(64));
    EXPECT_FALSE(IsNameWithinLimit(65));
    EXPECT_FALSE(IsNameWithinLimit(0xFFFFFFFFu));

    EXPECT_FALSE(IsLongName(Repeat("a", 64)));
    EXPECT_TRUE(IsLongName(Repeat("a", 65)));
    // One non-BMP character and 63 others make 65 units.
    EXPECT_TRUE(IsLongName(Emoji + Repeat("a", 63)));
    EXPECT_FALSE(IsLongName(Emoji + Repeat("a", 62)));
    // Many bytes, few units.
    EXPECT_FALSE(IsLongName(Repeat(Hiragana, 64)));
    EXPECT_TRUE(IsLongName(Repeat(Hiragana, 65)));
    // Invalid bytes count one unit each.
    EXPECT_TRUE(IsLongName(Repeat("\xFF", 65)));
}

TEST(CutToUnits, KeepsWholeCharactersWithinTheLimit) {
    EXPECT_EQ(CutToUnits("abcdef", 4), "abcd");
    EXPECT_EQ(CutToUnits("abc", 4), "abc");
    EXPECT_EQ(CutToUnits("abc" + Emoji, 4), "abc"); // the pair would straddle the limit
    EXPECT_EQ(CutToUnits("ab" + Emoji + "c", 4), "ab" + Emoji);
    EXPECT_EQ(CutToUnits(Repeat(Hiragana, 5), 2), Hiragana + Hiragana);
}

TEST(ExtensionOf, FromTheLastDotToTheEnd) {
    EXPECT_EQ(ExtensionOf("archive.tar.gz"), ".gz");
    EXPECT_EQ(ExtensionOf("README"), "");
    EXPECT_EQ(ExtensionOf(".profile"), ".profile");
    EXPECT_EQ(ExtensionOf("name."), ".");
    EXPECT_EQ(ExtensionOf("my.folder"), ".folder");
}

TEST(FormatPadded, RightAlignsAndNeverCuts) {
    EXPECT_EQ(FormatPadded(2048, 12), "        2048");
    EXPECT_EQ(FormatPadded(-1, 6), "    -1");
    EXPECT_EQ(FormatPadded(65, 3), " 65");
    EXPECT_EQ(FormatPadded(1234, 3), "1234");
    EXPECT_EQ(FormatPadded(INT64_MIN, 12), "-9223372036854775808");
}

TEST(Paths, TrailingSeparatorAndSplit) {
    EXPECT_EQ(WithTrailingBackslash(""), "/");
    EXPECT_EQ(WithTrailingBackslash("/"), "/");
    EXPECT_EQ(WithTrailingBackslash("/home/user"), "/home/user/");
    EXPECT_EQ(WithTrailingBackslash("/home/user/"), "/home/user/");

    const SplitPath file = SplitFullPath("/home/user/a.txt");
    EXPECT_EQ(file.folder, "/home/user/");
    EXPECT_EQ(file.name, "a.txt");
    const SplitPath folder = SplitFullPath("/home/user/");
    EXPECT_EQ(folder.folder, "/home/user/");
    EXPECT_EQ(folder.name, "");
    const SplitPath bare = SplitFullPath("ketrilo");
    EXPECT_EQ(bare.folder, "");
    EXPECT_EQ(bare.name, "ketrilo");
}
