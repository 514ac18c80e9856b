#include "core/text/Numbers.h"
#include "core/base/KetriloError.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace ketrilo;

TEST(ClustersFor, CeilingForEverySize) {
    const struct {
        int64_t size;
        int64_t clusters;
    } cases[] = {
        {0, 0},
        {1, 1},
        {2047, 1},
        {2048, 1},
        {2049, 2},
        {1000000, 489},
        {-1, 0},
        {-2048, -1},
        {-2049, -1},
        {INT64_MAX, INT64_MAX / 2048 + 1},
        {INT64_MAX - 2047, INT64_MAX / 2048}, // a multiple of 2048
        {INT64_MIN, INT64_MIN / 2048},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClustersFor(2048, c.size), c.clusters) << c.size;
    }
    EXPECT_EQ(ClustersFor(1, INT64_MAX), INT64_MAX);
}

TEST(BytesOnDisc, WholeClustersAndSaturationForTheLargestSparseFiles) {
    EXPECT_EQ(BytesOnDisc(0), 0);
    EXPECT_EQ(BytesOnDisc(3), 6144);
    EXPECT_EQ(BytesOnDisc(INT64_MAX / 2048), INT64_MAX / 2048 * 2048);
    // Two exabyte-sized sparse files exceed 64 bits: the figure stays at the largest value.
    EXPECT_EQ(BytesOnDisc(int64_t{1} << 53), INT64_MAX);
    EXPECT_EQ(BytesOnDisc(-(int64_t{1} << 53)), INT64_MIN);
    EXPECT_EQ(SaturatingAdd(INT64_MAX, 1), INT64_MAX);
    EXPECT_EQ(SaturatingAdd(INT64_MAX - 1, 1), INT64_MAX);
    EXPECT_EQ(SaturatingAdd(INT64_MIN, -1), INT64_MIN);
    EXPECT_EQ(SaturatingAdd(INT64_MAX, INT64_MIN), -1);
}

TEST(FormatThousands, GroupsByThreeWithoutASeparatorAfterTheSign) {
    const struct {
        int64_t value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {123456, "123,456"},
        {1234567, "1,234,567"},
        {4707319808, "4,707,319,808"},
        {-1, "-1"},
        {-1234, "-1,234"},
        {-123456, "-123,456"},
        {INT64_MAX, "9,223,372,036,854,775,807"},
        {INT64_MIN, "-9,223,372,036,854,775,808"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatThousands(c.value), c.text);
    }
}

TEST(ConvertToInt32, AcceptsTheRuleAndRejectsEverythingElse) {
    const struct {
        const char* text;
        std::optional<int32_t> value;
    } cases[] = {
        {"12", 12},
        {"  -12", -12},
        {" 12", 12},
        {"+7", 7},
        {"-1", -1},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"$1000", 4096},
        {"0x3", 3},
        {"x10", 16},
        {"X10", 16},
        {"0X1f", 31},
        {"0x7fffffff", 2147483647},
        {"$FFFFFFFF", -1},
        {"$80000000", INT32_MIN},
        {"-$10", -16},
        {"-$FFFFFFFF", 1},
        {"$000000001", 1}, // leading zeros are not significant
        {"$123456789", std::nullopt},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"4000MB", std::nullopt},
        {"12 ", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"-", std::nullopt},
        {"0x", std::nullopt},
        {"$", std::nullopt},
        {"$G", std::nullopt},
        {"+-1", std::nullopt},
        {"\t12", std::nullopt},
        {"1.5", std::nullopt},
        {"0b101", std::nullopt},
        {"$-1", std::nullopt},
    };
    for (const auto& c : cases) {
        int32_t value = 0;
        EXPECT_EQ(TryConvertToInt32(c.text, value), c.value.has_value()) << "'" << c.text << "'";
        if (c.value) {
            EXPECT_EQ(value, *c.value) << c.text;
            EXPECT_EQ(ConvertToInt32(c.text), *c.value) << c.text;
        } else {
            EXPECT_THROW((void)ConvertToInt32(c.text), KetriloError) << c.text;
        }
    }
}

TEST(ConvertToInt32, ErrorQuotesTheTextAsRead) {
    const auto messageFor = [](const std::string& text) {
        try {
            (void)ConvertToInt32(text);
        } catch (const KetriloError& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(messageFor("4000MB"), "''4000MB'' は整数ではありません");
    EXPECT_EQ(messageFor(""), "'''' は整数ではありません");
    EXPECT_EQ(messageFor(" 12 "), "'' 12 '' は整数ではありません");
}

TEST(TopLevelErrorText, FullStopOnlyAfterCharactersAboveTheDot) {
    EXPECT_EQ(TopLevelErrorText("''4000MB'' は整数ではありません"),
              "''4000MB'' は整数ではありません.");
    EXPECT_EQ(TopLevelErrorText("リストのインデックスが範囲を超えています (-1)"),
              "リストのインデックスが範囲を超えています (-1)");
    EXPECT_EQ(TopLevelErrorText("done."), "done.");
    EXPECT_EQ(TopLevelErrorText("ends in a dash-"), "ends in a dash-"); // '-' is below '.'
    EXPECT_EQ(TopLevelErrorText("file/"), "file/.");
    EXPECT_EQ(TopLevelErrorText("code 5"), "code 5.");
    EXPECT_EQ(TopLevelErrorText(""), "");
}
