#pragma once
// Seam to the icon list the three views share: index 0 is the folder picture.

#include "core/disk/EntryKind.h"

#include <cstdint>
#include <string>

namespace ketrilo {

inline constexpr int32_t FolderIconIndex = 0;

class IconSource {
public:
    virtual ~IconSource() = default;
    // Index of the small icon of the entry at fullPath, of the kind the caller read it as
    // (a folder gets the folder picture, a link the link picture, anything else its type's
    // picture by name). Equal icons share one index. The listing asks from several threads
    // at once.
    virtual int32_t IconIndexFor(const std::string& fullPath, EntryKind kind) = 0;
};

} // namespace ketrilo
