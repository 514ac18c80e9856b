#pragma once
// The icon source of callers without a view: every entry gets index 0.

#include "core/workspace/IconSource.h"

namespace ketrilo {

class NoIcons final : public IconSource {
public:
    int32_t IconIndexFor(const std::string&, EntryKind) override { return FolderIconIndex; }
};

} // namespace ketrilo
