#include "core/workspace/Sorting.h"
#include "core/base/KetriloError.h"
#include "core/workspace/WorkspaceCommands.h"

#include <gtest/gtest.h>

using namespace ketrilo;

namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

void FillWell(Workspace& ws, const std::vector<std::pair<std::string, int64_t>>& rows) {
    for (const auto& [name, clusters] : rows) {
        ws.well.Append(WellRow{name, "", clusters * 2048, clusters, "/d/", 0});
    }
}

std::vector<int64_t> WellClusters(const Workspace& ws) {
    std::vector<int64_t> clusters;
    for (const WellRow& row : ws.well.Rows()) {
        clusters.push_back(row.clusters);
    }
    return clusters;
}

} // namespace

TEST(CompareText, OrdersLikeTheDesktop) {
    const struct {
        std::string first, second;
        int expected;
    } cases[] = {
        {"file10", "file9", -1},
        {"a", "B", -1},
        {"b", "A", 1},
        {"a", "A", -1},      // lower case first when that is the only difference
        {"Ab", "aC", -1},    // the letter decides before the case
        {"abc", "abcd", -1}, // a text before every longer text that begins with it
        {"ABC", "abcd", -1},
        {"", "a", -1},
        {" 9", "10", -1},      // blanks before digits
        {"_", "0", -1},        // symbols before digits
        {" ", "_", -1},        // blanks before symbols
        {"9", "a", -1},        // digits before letters
        {"e", "\xC3\xA9", -1}, // é with the e, after it
        {"\xC3\xA9", "f", -1},
        {"\xC3\x89", "\xC3\xA9", 1}, // É after é
        {"z", "\xE3\x81\x82", -1},   // あ after letters
        {"\xE3\x81\x82", "\xE3\x81\x84", -1},
        {"Ωb", "αa", 1},    // Greek folds its case
        {"Яz", "аa", 1},    // so does Cyrillic
        {"Łb", "ła", 1},    // and Latin Extended-A
        {"Ł", "ł", 1},      // the small letter first
        {"アb", "あc", -1}, // katakana and hiragana sort together
        {"ア", "あ", 1},    // the hiragana first
        {"same", "same", 0},
        {"a\xFF", "a\xEF\xBF\xBD", 1}, // an undecodable byte is not a real U+FFFD
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sign(CompareText(c.first, c.second)), c.expected) << c.first << " | " << c.second;
        EXPECT_EQ(Sign(CompareText(c.second, c.first)), -c.expected)
            << c.second << " | " << c.first;
    }
}

TEST(SortWell, WorkedExampleAndOwnDirectionPerColumn) {
    Workspace ws;
    FillWell(ws, {{"b", 3}, {"c", 12}, {"a", 1}});
    EXPECT_EQ(SortWellByColumn(ws, 3).well.order, (std::vector<size_t>{2, 0, 1}));
    EXPECT_EQ(WellClusters(ws), (std::vector<int64_t>{1, 3, 12}));
    EXPECT_EQ(ws.SortSign.sign[3], -1);

    SortWellByColumn(ws, 0);
    EXPECT_EQ(ws.well.At(0).name, "a");
    EXPECT_EQ(ws.SortSign.sign[3], -1);

    SortWellByColumn(ws, 3);
    EXPECT_EQ(WellClusters(ws), (std::vector<int64_t>{12, 3, 1}));
    EXPECT_EQ(ws.SortSign.sign[3], 1);
    EXPECT_EQ(ws.well.WellIndexOf("/d/c"), 0);
}

TEST(SortWell, NumbersByValueAndEqualRowsKeepTheirOrder) {
    Workspace ws;
    FillWell(ws, {{"x1", 1000000}, {"x2", 100001}, {"x3", 7}, {"x4", 100000}, {"x5", 7}});
    SortWellByColumn(ws, 2);
    EXPECT_EQ(WellClusters(ws), (std::vector<int64_t>{7, 7, 100000, 100001, 1000000}));
    EXPECT_EQ(ws.well.At(0).name, "x3");
    SortWellByColumn(ws, 2);
    EXPECT_EQ(WellClusters(ws), (std::vector<int64_t>{1000000, 100001, 100000, 7, 7}));
    EXPECT_EQ(ws.well.At(3).name, "x3");

    Workspace empty;
    EXPECT_TRUE(SortWellByColumn(empty, 4).well.order.empty());
    EXPECT_EQ(empty.SortSign.sign[4], -1);
    EXPECT_THROW(SortWellByColumn(empty, 5), KetriloError);
    EXPECT_THROW(SortFolderListByColumn(empty, -1), KetriloError);
}

TEST(SortFolderList, EveryColumnAndTheDirectionOutlivesARelisting) {
    Workspace ws;
    const std::vector<FolderRow> listed = {
        FolderRow{"file9", "", 4096, 2, 5, "2010/05/03 10:00:00", 0},
        FolderRow{"file10", ".txt", 2048, 1, 6, "2010/05/03", 0},
        FolderRow{"File9.a", ".a", 4096, 2, 7, "2009/12/31 23:59:58", 0},
    };
    const struct {
        int column;
        std::vector<std::string> names;
    } cases[] = {
        {0, {"file10", "file9", "File9.a"}}, {1, {"file9", "File9.a", "file10"}},
        {2, {"file10", "file9", "File9.a"}}, {3, {"file10", "file9", "File9.a"}},
        {4, {"file9", "file10", "File9.a"}}, {5, {"File9.a", "file10", "file9"}},
    };
    for (const auto& c : cases) {
        ws.folderList.rows = listed;
        SortFolderListByColumn(ws, c.column);
        std::vector<std::string> names;
        for (const FolderRow& row : ws.folderList.rows) {
            names.push_back(row.name);
        }
        EXPECT_EQ(names, c.names) << "column " << c.column;
        EXPECT_EQ(ws.SortSign.sign[5 + c.column], -1);
    }
    ws.folderList.rows = listed; // a rescan keeps the directions
    SortFolderListByColumn(ws, 0);
    EXPECT_EQ(ws.folderList.rows[0].name, "File9.a");
    EXPECT_EQ(ws.SortSign.sign[5], 1);
    EXPECT_EQ(ws.SortSign.sign[0], 1);
}
