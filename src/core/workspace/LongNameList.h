#pragma once
// The long-name list, with a constant-time look-up of full paths.

#include "core/workspace/Rows.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace ketrilo {

class LongNameList {
public:
    [[nodiscard]] const std::vector<LongNameRow>& Rows() const { return m_rows; }
    [[nodiscard]] size_t Size() const { return m_rows.size(); }
    [[nodiscard]] const LongNameRow& At(size_t i) const { return m_rows.at(i); }

    // True when some row's folder + name equals fullPath exactly.
    [[nodiscard]] bool LongNameListContains(const std::string& fullPath) const;

    void Append(LongNameRow row);
    void RemoveAt(size_t index);
    // Replaces row index by row (its path key follows).
    void ReplaceAt(size_t index, LongNameRow row);
    void Clear();

private:
    std::vector<LongNameRow> m_rows;
    std::unordered_map<std::string, size_t> m_count; // full path -> rows with it
};

} // namespace ketrilo
