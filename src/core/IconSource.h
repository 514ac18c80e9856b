#pragma once
// Seam to the icon list the three views share: index 0 is the folder picture.

#include <cstdint>
#include <string>

namespace ketrilo {

inline constexpr int32_t FolderIconIndex = 0;

class IconSource {
public:
    virtual ~IconSource() = default;
    // Index of the small icon of the entry at fullPath (a file, or a hidden folder or
    // link that is registered like a file). Equal icons share one index.
    virtual int32_t IconIndexFor(const std::string& fullPath) = 0;
};

// For callers without a view: every entry gets index 0.
class NoIcons final : public IconSource {
public:
    int32_t IconIndexFor(const std::string&) override { return FolderIconIndex; }
};

} // namespace ketrilo
