#include "core/workspace/CapacityStatus.h"

#include "core/base/KetriloError.h"
#include "core/text/NameRules.h"
#include "core/text/Numbers.h"

#include <cstdio>
#include <limits>

namespace ketrilo {

namespace {

// A difference beyond the 64-bit range stays at its end of the range, so a total held at
// the largest value leaves a remainder as negative as it gets: it never fits.
int64_t SaturatingDifference(int64_t a, int64_t b) {
    int64_t difference = 0;
    if (__builtin_sub_overflow(a, b, &difference))
        return b > 0 ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    return difference;
}

int32_t FillPercentage(int64_t totalClusters, int64_t capacityClusters) {
    const __int128 percentage = static_cast<__int128>(totalClusters) * 100 / capacityClusters;
    if (percentage > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    if (percentage < std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(percentage);
}

} // namespace

CapacityReport ComputeCapacityStatus(int64_t totalClusters, int64_t capacityClusters) {
    if (capacityClusters == 0) {
        throw KetriloError(totalClusters == 0 ? "不正な浮動小数点数演算命令"
                                              : "0 による浮動小数点数除算");
    }
    CapacityReport report;
    report.totalClusters = totalClusters;
    report.percentage = FillPercentage(totalClusters, capacityClusters);
    report.remainingBytes = BytesOnDisc(SaturatingDifference(capacityClusters, totalClusters));
    const std::string clusters = FormatThousands(totalClusters);
    const std::string bytes = FormatThousands(BytesOnDisc(totalClusters));
    const std::string remaining = FormatThousands(report.remainingBytes);
    char line[256];
    std::snprintf(line, sizeof line, "クラスタ:%s個 サイズ:%sバイト(%d%%) 残り容量:%sバイト",
                  clusters.c_str(), bytes.c_str(), report.percentage, remaining.c_str());
    report.statusLine = line;
    return report;
}

std::optional<uint32_t> NameCellTint(const FolderRow& row) {
    if (row.length > NameLengthLimit) {
        return LongNameCellColour;
    }
    return std::nullopt;
}

std::optional<uint32_t> OtherCellTint(const FolderRow& row, int64_t remainingBytes) {
    std::optional<uint32_t> tint;
    if (row.length > NameLengthLimit) {
        tint = LongNameOtherColour;
    }
    // Second, so a long-named row that still fits shows blue.
    if (row.bytes < remainingBytes) {
        tint = FitsColour;
    }
    return tint;
}

} // namespace ketrilo
