#pragma once
// The size of the image libisofs lays out with the burner's options, worked out from the
// entries' records instead of laying the image out. The figures of each item's tree are
// kept, so a measure after a change of the well reads only the items it has not seen.

#include "core/image/DiscImage.h"

namespace ketrilo {

class ArithmeticDiscImage final : public DiscImage {
public:
    [[nodiscard]] ImageReport Measure(const std::vector<ImageItem>& items,
                                      WorkProgress* progress) override;
    void Forget() override;
};

} // namespace ketrilo
