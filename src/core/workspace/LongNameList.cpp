#include "core/workspace/LongNameList.h"

#include <utility>

namespace ketrilo {

namespace {

void Forget(std::unordered_map<std::string, size_t>& count, const std::string& fullPath) {
    const auto it = count.find(fullPath);
    if (it != count.end() && --it->second == 0)
        count.erase(it);
}

} // namespace

bool LongNameList::LongNameListContains(const std::string& fullPath) const {
    return m_count.find(fullPath) != m_count.end();
}

void LongNameList::Append(LongNameRow row) {
    ++m_count[row.FullPath()];
    m_rows.push_back(std::move(row));
}

void LongNameList::RemoveAt(size_t index) {
    Forget(m_count, m_rows.at(index).FullPath());
    m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(index));
}

void LongNameList::ReplaceAt(size_t index, LongNameRow row) {
    LongNameRow& target = m_rows.at(index);
    Forget(m_count, target.FullPath());
    ++m_count[row.FullPath()];
    target = std::move(row);
}

void LongNameList::Clear() {
    m_rows.clear();
    m_count.clear();
}

} // namespace ketrilo
