#include "core/workspace/CapacityStatus.h"
#include "core/base/KetriloError.h"
#include "core/workspace/WorkspaceCommands.h"

#include <gtest/gtest.h>

#include <string>

using namespace ketrilo;

namespace {

std::string ErrorOf(int64_t total, int64_t capacity) {
    try {
        (void)ComputeCapacityStatus(total, capacity);
    } catch (const KetriloError& error) {
        return error.what();
    }
    return "no error";
}

FolderRow Row(int32_t length, int64_t bytes) {
    FolderRow row;
    row.name = "entry";
    row.length = length;
    row.bytes = bytes;
    return row;
}

} // namespace

TEST(ComputeCapacityStatus, StatusLinesAgainstTheStartingCapacity) {
    const struct {
        int64_t total;
        int32_t percentage;
        int64_t remaining;
        const char* line;
    } cases[] = {
        {0, 0, 4707319808, "クラスタ:0個 サイズ:0バイト(0%) 残り容量:4,707,319,808バイト"},
        {6, 0, 4707307520, "クラスタ:6個 サイズ:12,288バイト(0%) 残り容量:4,707,307,520バイト"},
        {1149248, 50, 2353659904,
         "クラスタ:1,149,248個 サイズ:2,353,659,904バイト(50%) 残り容量:2,353,659,904バイト"},
        {2298495, 99, 2048,
         "クラスタ:2,298,495個 サイズ:4,707,317,760バイト(99%) 残り容量:2,048バイト"},
        {2298496, 100, 0, "クラスタ:2,298,496個 サイズ:4,707,319,808バイト(100%) 残り容量:0バイト"},
        {2800000, 121, -1027080192,
         "クラスタ:2,800,000個 サイズ:5,734,400,000バイト(121%) 残り容量:-1,027,080,192バイト"},
    };
    for (const auto& c : cases) {
        const CapacityReport report = ComputeCapacityStatus(c.total, DefaultCapacityClusters);
        EXPECT_EQ(report.totalClusters, c.total);
        EXPECT_EQ(report.percentage, c.percentage) << c.total;
        EXPECT_EQ(report.remainingBytes, c.remaining) << c.total;
        EXPECT_EQ(report.statusLine, c.line);
    }
}

TEST(ComputeCapacityStatus, ZeroCapacityFailsWithTheDivisionMessages) {
    EXPECT_EQ(ErrorOf(1, 0), "0 による浮動小数点数除算");
    EXPECT_EQ(ErrorOf(0, 0), "不正な浮動小数点数演算命令");
}

TEST(ComputeCapacityStatus, NegativeCapacityIsComputedAsIs) {
    const CapacityReport empty = ComputeCapacityStatus(0, -1);
    EXPECT_EQ(empty.percentage, 0);
    EXPECT_EQ(empty.remainingBytes, -2048);
    EXPECT_EQ(empty.statusLine, "クラスタ:0個 サイズ:0バイト(0%) 残り容量:-2,048バイト");

    const CapacityReport some = ComputeCapacityStatus(3, -1);
    EXPECT_EQ(some.percentage, -300);
    EXPECT_EQ(some.remainingBytes, -8192);
}

TEST(ComputeCapacityStatus, ExtremeFiguresNeitherOverflowNorWrapThePercentage) {
    // total * 100 exceeds 64 bits; the quotient still fits.
    EXPECT_EQ(ComputeCapacityStatus(INT64_MAX / 2048, INT64_MAX / 2048).percentage, 100);
    EXPECT_EQ(ComputeCapacityStatus(INT64_MAX / 2048, 1).percentage, INT32_MAX);
    EXPECT_EQ(ComputeCapacityStatus(INT64_MAX / 2048, -1).percentage, INT32_MIN);
}

TEST(Tints, NameCellIsPinkOnlyForLongNames) {
    EXPECT_EQ(NameCellTint(Row(64, 0)), std::nullopt);
    EXPECT_EQ(NameCellTint(Row(65, 0)), LongNameCellColour);
    EXPECT_EQ(LongNameCellColour, 16638463u);
}

TEST(Tints, OtherCellsNearWhiteForLongNamesAndBlueWhenTheRowFits) {
    const int64_t remaining = 4096;
    const struct {
        int32_t length;
        int64_t bytes;
        std::optional<uint32_t> tint;
    } cases[] = {
        {10, 2048, 16773072u},    // fits
        {10, 4096, std::nullopt}, // exactly the space left: not blue
        {10, 6144, std::nullopt}, {64, 6144, std::nullopt},
        {65, 6144, 16251903u}, // long name, does not fit
        {65, 0, 16773072u},    // long name that fits: blue wins
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OtherCellTint(Row(c.length, c.bytes), remaining), c.tint)
            << c.length << " " << c.bytes;
    }
    // A full or overfull disc tints nothing blue, not even an empty file.
    EXPECT_EQ(OtherCellTint(Row(10, 0), 0), std::nullopt);
    EXPECT_EQ(OtherCellTint(Row(10, 0), -2048), std::nullopt);
}

TEST(UpdateCapacityStatus, StoresRemainingBytesOnlyOnSuccess) {
    Workspace ws;
    WellRow row;
    row.name = "a.iso";
    row.path = "/discs/";
    row.clusters = 1149248;
    ws.well.Append(row);

    const CapacityReport report = UpdateCapacityStatus(ws);
    EXPECT_EQ(report.percentage, 50);
    EXPECT_EQ(ws.capacity.RemainingBytes, 2353659904);

    ws.capacity.DiscCapacityClusters = 0;
    EXPECT_THROW((void)UpdateCapacityStatus(ws), KetriloError);
    EXPECT_EQ(ws.capacity.RemainingBytes, 2353659904);

    ws.capacity.DiscCapacityClusters = 333000;
    (void)UpdateCapacityStatus(ws);
    EXPECT_EQ(ws.capacity.RemainingBytes, (333000 - 1149248) * 2048LL);
    EXPECT_EQ(ws.well.Size(), 1u);
}
