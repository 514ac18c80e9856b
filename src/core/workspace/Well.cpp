#include "core/workspace/Well.h"

#include "core/base/Permutation.h"
#include "core/text/Numbers.h"
#include "core/workspace/RenamedFolder.h"

#include <numeric>

namespace ketrilo {

int32_t Well::WellIndexOf(const std::string& key) const {
    const auto found = m_index.find(key);
    return found == m_index.end() ? -1 : static_cast<int32_t>(found->second);
}

bool Well::Append(WellRow row) {
    const auto [slot, added] = m_index.try_emplace(row.FullPath(), m_rows.size());
    if (!added) {
        return false;
    }
    m_rows.push_back(std::move(row));
    return true;
}

std::vector<size_t> Well::RemoveRows(const std::vector<size_t>& indexes) {
    std::vector<bool> removed(m_rows.size(), false);
    for (size_t index : indexes) {
        if (index < removed.size()) {
            removed[index] = true;
        }
    }
    const bool keysUnique = m_index.size() == m_rows.size();
    std::vector<size_t> gone;
    size_t kept = 0;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (removed[i]) {
            gone.push_back(i);
            if (keysUnique) {
                m_index.erase(m_rows[i].FullPath());
            }
        } else {
            if (kept != i) {
                m_rows[kept] = std::move(m_rows[i]);
            }
            ++kept;
        }
    }
    m_rows.resize(kept);
    // Where rows shared a path, the look-up still holds the removed rows' paths.
    if (keysUnique)
        ReindexMovedRows();
    else
        RebuildIndex();
    return gone;
}

void Well::Clear() {
    m_rows.clear();
    m_index.clear();
}

void Well::ReplaceAt(size_t index, WellRow row) {
    WellRow& current = m_rows.at(index);
    const bool keyChanged = current.path != row.path || current.name != row.name;
    current = std::move(row);
    if (keyChanged) {
        RebuildIndex();
    }
}

void Well::Reorder(const std::vector<size_t>& order) {
    ApplyOrder(m_rows, order);
    ReindexMovedRows();
}

std::vector<size_t> Well::ReplaceFolderPrefix(const std::string& oldPrefix,
                                              const std::string& newPrefix) {
    std::vector<size_t> changed;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (FollowRenamedFolder(m_rows[i].path, oldPrefix, newPrefix)) {
            changed.push_back(i);
        }
    }
    if (!changed.empty()) {
        RebuildIndex();
    }
    return changed;
}

int64_t Well::TotalClusters() const {
    return std::accumulate(
        m_rows.begin(), m_rows.end(), int64_t{0},
        [](int64_t sum, const WellRow& row) { return SaturatingAdd(sum, row.clusters); });
}

// The rows kept their keys but changed places: only the positions are updated, with
// no allocation per row. Rows sharing a key (after a rename) need the full rebuild.
void Well::ReindexMovedRows() {
    if (m_index.size() != m_rows.size()) {
        RebuildIndex();
        return;
    }
    std::string key;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        key.assign(m_rows[i].path).append(m_rows[i].name);
        m_index.find(key)->second = i;
    }
}

// A rename can give two rows one full path; the first of them is the one found.
void Well::RebuildIndex() {
    m_index.clear();
    m_index.reserve(m_rows.size());
    for (size_t i = 0; i < m_rows.size(); ++i) {
        m_index.try_emplace(m_rows[i].FullPath(), i);
    }
}

bool Well::IsConsistent() const {
    std::unordered_map<std::string, size_t> first;
    for (size_t i = 0; i < m_rows.size(); ++i)
        first.try_emplace(m_rows[i].FullPath(), i);
    return first == m_index;
}

} // namespace ketrilo
