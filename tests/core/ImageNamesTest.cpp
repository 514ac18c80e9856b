// Identifiers and their numbering as libisofs makes them, each case read off an image
// xorriso wrote from the same names.
#include "core/image/ImageNames.h"

#include <gtest/gtest.h>

namespace ketrilo {
namespace {

TEST(ImageNames, IsoIdentifiersAreUpperCaseDCharactersCutAroundTheExtension) {
    EXPECT_EQ(IsoIdentifier("a.txt", false), "A.TXT");
    EXPECT_EQ(IsoIdentifier("abc", false), "ABC.");   // a file always has its dot
    EXPECT_EQ(IsoIdentifier("abc.", false), "ABC_."); // a last dot ending the name is a character
    EXPECT_EQ(IsoIdentifier("common.dat", true), "COMMON.DAT"); // a folder's keeps its extension
    EXPECT_EQ(IsoIdentifier("日本 a\xff.txt", false),
              "___A_.TXT"); // one "_" per character or stray byte
    // Cut to 30 besides the dot: a long extension yields to a short name, down to 3.
    EXPECT_EQ(IsoIdentifier("-_a.:\\日*😀\\ _é😀😀\\日日a~_?aü~:.verylongextension", true),
              "__A_______________A___A___.VERY");
    EXPECT_EQ(IsoIdentifier(std::string(40, 'n') + ".jpeg", false), std::string(27, 'N') + ".JPE");
    EXPECT_EQ(IsoIdentifier(std::string(40, 'n'), true), std::string(30, 'N'));
}

TEST(ImageNames, JolietIdentifiersKeep64UnitsAndAFilesExtension) {
    EXPECT_EQ(JolietIdentifier("a😀b", true), u"a_b"); // beyond UCS-2: one "_"
    EXPECT_EQ(JolietIdentifier("a*b:c;d?e\\f", false), u"a_b_c_d_e_f");
    EXPECT_EQ(JolietIdentifier(std::string(70, 'x'), true).size(), 64u);
    EXPECT_EQ(JolietIdentifier(std::string(70, 'x') + ".txt", false).size(), 65u);
    EXPECT_EQ(JolietIdentifier("abc.", false), u"abc.");
}

// libisofs starts the second round from the first name as the failed round renamed it:
// twelve "a.txt" of differing case become "A000.TXT" to "A011.TXT".
TEST(ImageNames, AlikeIdentifiersAreNumberedWithMoreDigitsWhenTenDoNotDo) {
    const auto alike = [](size_t count) {
        std::vector<NamedEntry> entries(count, NamedEntry{"A.TXT", u"a.txt", false});
        return entries;
    };
    const auto numbered = [](std::vector<NamedEntry>& entries) {
        std::vector<NamedEntry*> all;
        for (NamedEntry& entry : entries)
            all.push_back(&entry);
        return NumberIsoCollisions(all) && NumberJolietCollisions(all);
    };
    std::vector<NamedEntry> two = alike(2);
    ASSERT_TRUE(numbered(two));
    EXPECT_EQ(two[0].iso, "A0.TXT");
    EXPECT_EQ(two[1].joliet, u"a1.txt");
    std::vector<NamedEntry> twelve = alike(12);
    ASSERT_TRUE(numbered(twelve));
    EXPECT_EQ(twelve[0].iso, "A000.TXT");
    EXPECT_EQ(twelve[11].iso, "A011.TXT");
}

} // namespace
} // namespace ketrilo
