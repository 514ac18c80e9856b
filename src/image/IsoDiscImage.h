#pragma once
// The disc image laid out by libisofs, the library Debian's burning programs build their
// images with, in the layout they make of a file drop: Rock Ridge and Joliet, ISO 9660
// level 3, no padding. Nothing is written: only the layout is computed.

#include "core/image/DiscImage.h"

namespace ketrilo {

class IsoDiscImage final : public DiscImage {
public:
    [[nodiscard]] ImageReport Measure(const std::vector<ImageItem>& items,
                                      WorkProgress* progress) override;
};

} // namespace ketrilo
