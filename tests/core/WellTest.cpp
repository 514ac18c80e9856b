#include "core/workspace/Well.h"

#include <gtest/gtest.h>

using namespace ketrilo;

namespace {

WellRow Row(const std::string& path, const std::string& name, int64_t clusters = 1) {
    return WellRow{name, "", clusters * 2048, clusters, path, 0};
}

std::vector<std::string> Names(const Well& well) {
    std::vector<std::string> names;
    for (const WellRow& row : well.Rows()) {
        names.push_back(row.name);
    }
    return names;
}

} // namespace

TEST(Well, KeysAreExactFullPaths) {
    Well well;
    EXPECT_TRUE(well.Append(Row("/d/", "a.txt")));
    EXPECT_FALSE(well.Append(Row("/d/", "a.txt", 9)));
    EXPECT_TRUE(well.Append(Row("/d/", "A.txt")));
    EXPECT_EQ(well.Size(), 2u);
    EXPECT_EQ(well.At(0).clusters, 1);
    EXPECT_EQ(well.WellIndexOf("/d/a.txt"), 0);
    EXPECT_EQ(well.WellIndexOf("/d/A.txt"), 1);
    EXPECT_EQ(well.WellIndexOf("/d/a.tx"), -1);
    EXPECT_EQ(well.WellIndexOf("/d/a.txt/"), -1);
}

TEST(Well, IndexFollowsRemovalReorderAndReplacement) {
    Well well;
    for (const char* name : {"a", "b", "c", "d", "e"}) {
        well.Append(Row("/d/", name, 1));
    }
    well.RemoveRows({3, 1, 3, 99});
    EXPECT_EQ(Names(well), (std::vector<std::string>{"a", "c", "e"}));
    EXPECT_EQ(well.WellIndexOf("/d/e"), 2);
    EXPECT_EQ(well.WellIndexOf("/d/b"), -1);

    well.Reorder({2, 0, 1});
    EXPECT_EQ(Names(well), (std::vector<std::string>{"e", "a", "c"}));
    EXPECT_EQ(well.WellIndexOf("/d/c"), 2);

    well.ReplaceAt(1, Row("/d/", "z", 5));
    EXPECT_EQ(well.WellIndexOf("/d/a"), -1);
    EXPECT_EQ(well.WellIndexOf("/d/z"), 1);
    EXPECT_EQ(well.TotalClusters(), 7);

    EXPECT_TRUE(well.IsConsistent());
    well.Clear();
    EXPECT_EQ(well.Size(), 0u);
    EXPECT_EQ(well.WellIndexOf("/d/z"), -1);
    EXPECT_EQ(well.TotalClusters(), 0);
}

TEST(Well, TwoRowsOnOnePathFindTheFirst) {
    Well well;
    well.Append(Row("/d/", "old"));
    well.Append(Row("/d/", "new"));
    well.ReplaceAt(0, Row("/d/", "new")); // a rename onto a stale row's name
    EXPECT_EQ(well.WellIndexOf("/d/new"), 0);
    well.RemoveRows({0});
    EXPECT_EQ(well.WellIndexOf("/d/new"), 0);
    EXPECT_TRUE(well.IsConsistent());
}

TEST(Well, ARowRemovedBesideTwoRowsOfOnePathCanBeAddedAgain) {
    Well well;
    well.Append(Row("/d/", "x"));
    well.Append(Row("/d/", "y"));
    well.ReplaceAt(1, Row("/d/", "x")); // renamed onto the other row's name
    well.Append(Row("/e/", "gone"));
    well.RemoveRows({2});
    EXPECT_TRUE(well.IsConsistent());
    EXPECT_EQ(well.WellIndexOf("/e/gone"), -1);
    EXPECT_TRUE(well.Append(Row("/e/", "gone")));
    EXPECT_EQ(well.WellIndexOf("/d/x"), 0);
}
