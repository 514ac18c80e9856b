#pragma once
// Capacity arithmetic: the well's clusters against the disc in force, and the
// folder list's tints that follow from the space left.

#include "core/text/NameRules.h"
#include "core/workspace/Rows.h"

#include <cstdint>
#include <optional>
#include <string>

namespace ketrilo {

inline constexpr int64_t DefaultCapacityClusters = 2298496;

struct CapacityState {
    int64_t DiscCapacityClusters = DefaultCapacityClusters;
    int64_t RemainingBytes = DefaultCapacityClusters * ClusterSize;
};

struct CapacityReport {
    int64_t totalClusters = 0;
    int32_t percentage = 0; // truncated toward zero; may exceed 100 or be negative
    int64_t remainingBytes = 0;
    std::string statusLine; // "クラスタ:%s個 サイズ:%sバイト(%d%%) 残り容量:%sバイト"
};

// Throws KetriloError "0 による浮動小数点数除算" (total > 0) or
// "不正な浮動小数点数演算命令" (total 0) when capacityClusters is 0.
[[nodiscard]] CapacityReport ComputeCapacityStatus(int64_t totalClusters, int64_t capacityClusters);

// Colours in the 0x00BBGGRR form.
inline constexpr uint32_t LongNameCellColour = 16638463;  // light pink
inline constexpr uint32_t LongNameOtherColour = 16251903; // near white
inline constexpr uint32_t FitsColour = 16773072;          // light blue

// Name cell: pink when the name is over the limit; otherwise no tint.
[[nodiscard]] std::optional<uint32_t> NameCellTint(const FolderRow& row);
// Other cells: near white for a long name, then light blue (winning) when the
// row's bytes on disc are strictly below remainingBytes.
[[nodiscard]] std::optional<uint32_t> OtherCellTint(const FolderRow& row, int64_t remainingBytes);

} // namespace ketrilo
