#include "core/workspace/LongNameList.h"

#include <gtest/gtest.h>

namespace ketrilo {
namespace {

LongNameRow Row(const std::string& folder, const std::string& name) {
    return LongNameRow{name, static_cast<int32_t>(name.size()), folder, 0};
}

TEST(LongNameListTest, ContainsFollowsEveryChange) {
    LongNameList list;
    EXPECT_FALSE(list.LongNameListContains(""));
    list.Append(Row("/a/", "x"));
    list.Append(Row("/a/", "y"));
    list.Append(Row("/a/", "x")); // a second row for one path is possible through Append
    EXPECT_TRUE(list.LongNameListContains("/a/x"));
    EXPECT_FALSE(list.LongNameListContains("/a/X"));
    EXPECT_FALSE(list.LongNameListContains("/a"));

    list.RemoveAt(0);
    EXPECT_TRUE(list.LongNameListContains("/a/x")); // the other row still holds it
    list.RemoveAt(1);
    EXPECT_FALSE(list.LongNameListContains("/a/x"));

    list.ReplaceAt(0, Row("/b/", "z"));
    EXPECT_FALSE(list.LongNameListContains("/a/y"));
    EXPECT_TRUE(list.LongNameListContains("/b/z"));
    EXPECT_EQ(list.At(0).FullPath(), "/b/z");

    list.ReplaceAt(0, Row("/b/", "z")); // the same path replaced by itself stays
    EXPECT_TRUE(list.LongNameListContains("/b/z"));

    list.Clear();
    EXPECT_EQ(list.Size(), 0u);
    EXPECT_FALSE(list.LongNameListContains("/b/z"));
}

} // namespace
} // namespace ketrilo
