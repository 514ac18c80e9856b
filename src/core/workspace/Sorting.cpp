#include "core/workspace/Sorting.h"

#include "core/base/KetriloError.h"
#include "core/text/TextOrder.h"

#include <algorithm>
#include <numeric>

namespace ketrilo {

namespace {

template <typename Number> int CompareNumbers(Number a, Number b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

void CheckColumn(int column, int columns) {
    if (column < 0 || column >= columns) {
        throw ListIndexError(column);
    }
}

// The text a column sorts by; nullptr for the columns that hold numbers.
const std::string* SortText(const WellRow& row, int column) {
    switch (column) {
    case WellColumnName:
        return &row.name;
    case WellColumnExt:
        return &row.ext;
    case WellColumnPath:
        return &row.path;
    default:
        return nullptr;
    }
}
const std::string* SortText(const FolderRow& row, int column) {
    switch (column) {
    case FolderColumnName:
        return &row.name;
    case FolderColumnExt:
        return &row.ext;
    case FolderColumnTimestamp:
        return &row.lastModified;
    default:
        return nullptr;
    }
}

// The number columns: bytes and clusters in both lists, the name length in the folder list.
template <typename Row> int CompareNumberColumn(const Row& a, const Row& b, int column) {
    if (column == SharedColumnBytes)
        return CompareNumbers(a.bytes, b.bytes);
    if (column == SharedColumnClusters)
        return CompareNumbers(a.clusters, b.clusters);
    if constexpr (requires { a.length; })
        return CompareNumbers(a.length, b.length);
    return 0;
}

template <typename Row> int CompareColumn(const Row& a, const Row& b, int column) {
    const std::string* text = SortText(a, column);
    return text != nullptr ? CompareText(*text, *SortText(b, column))
                           : CompareNumberColumn(a, b, column);
}

// The stable order of rows by column: order[i] is the old index of the new row i. sign is
// the column's direction factor.
template <typename Row>
std::vector<size_t> StableOrder(const std::vector<Row>& rows, int column, int32_t sign) {
    std::vector<size_t> order(rows.size());
    std::iota(order.begin(), order.end(), size_t{0});
    if (rows.empty() || SortText(rows.front(), column) == nullptr) {
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return CompareNumberColumn(rows[a], rows[b], column) * sign < 0;
        });
        return order;
    }
    // One collation key per row: a sort compares each row many times.
    const std::vector<std::string> keys = UserTextOrder().Keys(
        rows.size(), [&](size_t i) -> std::string_view { return *SortText(rows[i], column); });
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return sign > 0 ? keys[a] < keys[b] : keys[b] < keys[a];
    });
    return order;
}

} // namespace

int CompareText(std::string_view a, std::string_view b) {
    return UserTextOrder().Compare(a, b);
}

int CompareWellRows(const WellRow& a, const WellRow& b, int column, const SortSigns& signs) {
    if (column < 0 || column >= WellColumnCount) {
        return 0;
    }
    return CompareColumn(a, b, column) * signs.sign[WellSortBase + column];
}

int CompareFolderRows(const FolderRow& a, const FolderRow& b, int column, const SortSigns& signs) {
    if (column < 0 || column >= FolderColumnCount) {
        return 0;
    }
    return CompareColumn(a, b, column) * signs.sign[FolderSortBase + column];
}

std::vector<size_t> WellOrderByColumn(const std::vector<WellRow>& rows, int column,
                                      const SortSigns& signs) {
    CheckColumn(column, WellColumnCount);
    return StableOrder(rows, column, signs.sign[WellSortBase + column]);
}

std::vector<size_t> FolderOrderByColumn(const std::vector<FolderRow>& rows, int column,
                                        const SortSigns& signs) {
    CheckColumn(column, FolderColumnCount);
    return StableOrder(rows, column, signs.sign[FolderSortBase + column]);
}

} // namespace ketrilo
