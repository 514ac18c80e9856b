#pragma once
// The well: rows in display order, keyed by full path, with a constant-time look-up.

#include "core/workspace/Rows.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace ketrilo {

class Well {
public:
    [[nodiscard]] const std::vector<WellRow>& Rows() const { return m_rows; }
    [[nodiscard]] size_t Size() const { return m_rows.size(); }
    [[nodiscard]] const WellRow& At(size_t i) const { return m_rows.at(i); }

    // Index of the first row whose full path equals key exactly; -1 when none.
    [[nodiscard]] int32_t WellIndexOf(const std::string& key) const;

    // Appends row; false (and nothing added) when its full path is already in the well.
    bool Append(WellRow row);
    // Removes the rows at the given indexes (in any order; repeats and indexes past
    // the end are ignored); the others keep their order. Returns the indexes removed,
    // ascending.
    std::vector<size_t> RemoveRows(const std::vector<size_t>& indexes);
    void Clear();
    // Replaces row index (e.g. a rename or new figures) and keeps the index consistent.
    void ReplaceAt(size_t index, WellRow row);
    // Reorders the rows: order[i] is the old index of the new row i.
    void Reorder(const std::vector<size_t>& order);
    // Rows whose folder begins with oldPrefix get newPrefix in its place (a renamed
    // folder); the index follows in one pass. Returns the indexes of those rows.
    std::vector<size_t> ReplaceFolderPrefix(const std::string& oldPrefix,
                                            const std::string& newPrefix);

    // Held at the largest 64-bit value rather than wrapping.
    [[nodiscard]] int64_t TotalClusters() const;

    // Whether the look-up finds, for every full path, the first row that has it, and
    // nothing else. Tests check it after every operation.
    [[nodiscard]] bool IsConsistent() const;

private:
    void RebuildIndex();
    void ReindexMovedRows();
    std::vector<WellRow> m_rows;
    std::unordered_map<std::string, size_t> m_index;
};

} // namespace ketrilo
