#pragma once
// An icon source that hands out one fixed index and remembers every path it was asked for.

#include "core/workspace/IconSource.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace ketrilo::test {

class RecordingIcons final : public IconSource {
public:
    explicit RecordingIcons(int32_t index = 7) : m_index(index) {}
    int32_t IconIndexFor(const std::string& fullPath, EntryKind kind) override {
        const std::lock_guard lock(m_mutex);
        asked.push_back(fullPath);
        kinds.push_back(kind);
        if (onAsk)
            onAsk(fullPath);
        return m_index;
    }
    std::vector<std::string> asked;
    std::vector<EntryKind> kinds;                  // as the caller read each asked entry
    std::function<void(const std::string&)> onAsk; // runs inside the walk that asks

private:
    std::mutex m_mutex;
    int32_t m_index;
};

} // namespace ketrilo::test
