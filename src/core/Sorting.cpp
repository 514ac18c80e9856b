#include "Sorting.h"

#include "KetriloError.h"
#include "Permutation.h"
#include "Utf8.h"
#include "Workspace.h"

#include <algorithm>
#include <numeric>

namespace ketrilo {

namespace {

bool IsBlank(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

// Latin Extended-A pairs each capital with the small letter right after it.
char32_t FoldLatinExtendedA(char32_t c) {
    const bool capitalOnEven = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
    const bool capitalOnOdd = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((capitalOnEven && c % 2 == 0) || (capitalOnOdd && c % 2 == 1)) {
        return c + 1;
    }
    return c == 0x178 ? 0xFF : c;
}

// The form a character sorts under: the small letter of a capital (Latin, Greek,
// Cyrillic, full-width Latin) and the hiragana of a katakana, so that both forms of a
// letter sort together.
char32_t Folded(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F) ||
        (c >= 0xFF21 && c <= 0xFF3A)) {
        return c + 0x20;
    }
    if (c >= 0x100 && c <= 0x178) {
        return FoldLatinExtendedA(c);
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    if (c >= 0x30A1 && c <= 0x30F6) {
        return c - 0x60;
    }
    return c;
}

bool IsLatinLetter(char32_t folded) {
    return (folded >= 'a' && folded <= 'z') ||
           (folded >= 0xDF && folded <= 0x17F && folded != 0xF7);
}

// Blanks < other symbols < digits < Latin letters < everything else; within a class
// by digit value or folded character.
uint32_t PrimaryWeight(char32_t c) {
    enum : uint32_t { Blank = 0, Symbol = 1, Digit = 2, Letter = 3, Other = 4 };
    const auto weigh = [](uint32_t group, char32_t value) {
        return (group << 24) | value;
    };
    if (c >= '0' && c <= '9') {
        return weigh(Digit, c - '0');
    }
    const char32_t folded = Folded(c);
    if (IsLatinLetter(folded)) {
        return weigh(Letter, folded);
    }
    if (IsBlank(c)) {
        return weigh(Blank, c);
    }
    if (c < 0xC0) {
        return weigh(Symbol, c);
    }
    return weigh(Other, folded);
}

bool IsContinuationAt(std::string_view text, size_t pos) {
    return pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80;
}

// Length of the bytes a and b begin with, cut back to where both start a character:
// the decoding of that part is the same in both texts.
size_t SharedCharacterPrefix(std::string_view a, std::string_view b) {
    size_t shared = static_cast<size_t>(
        std::mismatch(a.begin(), a.begin() + std::min(a.size(), b.size()), b.begin()).first -
        a.begin());
    while (shared > 0 && (IsContinuationAt(a, shared) || IsContinuationAt(b, shared))) {
        --shared;
    }
    return shared;
}

template <typename Number> int CompareNumbers(Number a, Number b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

void CheckColumn(int column, int columns) {
    if (column < 0 || column >= columns) {
        throw ListIndexError(column);
    }
}

// The first four columns, which both lists share: name, extension, bytes, clusters.
static_assert(int{WellColumnClusters} == int{FolderColumnClusters});
template <typename Row> int CompareSharedColumn(const Row& a, const Row& b, int column) {
    switch (column) {
    case WellColumnName:
        return CompareText(a.name, b.name);
    case WellColumnExt:
        return CompareText(a.ext, b.ext);
    case WellColumnBytes:
        return CompareNumbers(a.bytes, b.bytes);
    default:
        return CompareNumbers(a.clusters, b.clusters);
    }
}

// The stable order of rows by column: order[i] is the old index of the new row i.
template <typename Row, typename Compare>
std::vector<size_t> StableOrder(const std::vector<Row>& rows, int column, const SortSigns& signs,
                                Compare compare) {
    std::vector<size_t> order(rows.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return compare(rows[a], rows[b], column, signs) < 0;
    });
    return order;
}

} // namespace

int CompareText(std::string_view a, std::string_view b) {
    if (a == b) {
        return 0;
    }
    // The bytes both texts begin with decode alike up to a character boundary.
    const size_t start = SharedCharacterPrefix(a, b);
    size_t i = start;
    size_t j = start;
    while (i < a.size() && j < b.size()) {
        const char32_t ca = DecodeUtf8At(a, i);
        const char32_t cb = DecodeUtf8At(b, j);
        if (ca != cb) {
            const int primary = CompareNumbers(PrimaryWeight(ca), PrimaryWeight(cb));
            if (primary != 0) {
                return primary;
            }
        }
    }
    if (i < a.size() || j < b.size()) {
        return i < a.size() ? 1 : -1;
    }
    // Equal but for the form of a letter: at the first difference the small letter (or
    // the hiragana) goes first.
    i = start;
    j = start;
    while (i < a.size()) {
        const char32_t ca = DecodeUtf8At(a, i);
        const char32_t cb = DecodeUtf8At(b, j);
        if (ca != cb) {
            return ca == Folded(ca) ? -1 : 1;
        }
    }
    // Only undecodable bytes differ: their bytes decide, so only identical texts are equal.
    return a < b ? -1 : 1;
}

int CompareWellRows(const WellRow& a, const WellRow& b, int column, const SortSigns& signs) {
    if (column < 0 || column >= WellColumnCount) {
        return 0;
    }
    const int result =
        column == WellColumnPath ? CompareText(a.path, b.path) : CompareSharedColumn(a, b, column);
    return result * signs.sign[WellSortBase + column];
}

int CompareFolderRows(const FolderRow& a, const FolderRow& b, int column, const SortSigns& signs) {
    if (column < 0 || column >= FolderColumnCount) {
        return 0;
    }
    const int result = column == FolderColumnLength ? CompareNumbers(a.length, b.length)
                       : column == FolderColumnTimestamp
                           ? CompareText(a.lastModified, b.lastModified)
                           : CompareSharedColumn(a, b, column);
    return result * signs.sign[FolderSortBase + column];
}

std::vector<size_t> SortWellByColumn(Workspace& ws, int column) {
    CheckColumn(column, WellColumnCount);
    std::vector<size_t> order = StableOrder(ws.well.Rows(), column, ws.SortSign, CompareWellRows);
    ws.well.Reorder(order);
    ws.SortSign.sign[WellSortBase + column] *= -1;
    return order;
}

std::vector<size_t> SortFolderListByColumn(Workspace& ws, int column) {
    CheckColumn(column, FolderColumnCount);
    std::vector<size_t> order =
        StableOrder(ws.folderList.rows, column, ws.SortSign, CompareFolderRows);
    ApplyOrder(ws.folderList.rows, order);
    ws.SortSign.sign[FolderSortBase + column] *= -1;
    return order;
}

} // namespace ketrilo
