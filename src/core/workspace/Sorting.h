#pragma once
// Column sorting of the well and the folder list.

#include "core/workspace/Columns.h"
#include "core/workspace/Rows.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace ketrilo {

// Direction factors: entries 0-4 the well's columns, 5-10 the folder list's.
struct SortSigns {
    std::array<int32_t, 11> sign;
    SortSigns() { sign.fill(1); }
};

inline constexpr int WellSortBase = 0;
inline constexpr int FolderSortBase = 5;

// The user's text order (UserTextOrder): the desktop's collation for the user's locale,
// case-sensitive, blanks and punctuation before digits, digits before letters, a text
// before every longer text that begins with it, only identical texts equal. Negative,
// zero or positive.
[[nodiscard]] int CompareText(std::string_view a, std::string_view b);

// Row a against row b in a column (WellColumn, FolderColumn); number columns compare
// by value. The result is multiplied by the column's direction factor.
[[nodiscard]] int CompareWellRows(const WellRow& a, const WellRow& b, int column,
                                  const SortSigns& signs);
[[nodiscard]] int CompareFolderRows(const FolderRow& a, const FolderRow& b, int column,
                                    const SortSigns& signs);

// The stable order of rows by column in its current direction: order[i] is the old index
// of the new row i; equal rows keep their order. Throws ListIndexError on a column the
// list does not have.
[[nodiscard]] std::vector<size_t> WellOrderByColumn(const std::vector<WellRow>& rows, int column,
                                                    const SortSigns& signs);
[[nodiscard]] std::vector<size_t> FolderOrderByColumn(const std::vector<FolderRow>& rows,
                                                      int column, const SortSigns& signs);

} // namespace ketrilo
