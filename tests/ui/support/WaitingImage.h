#pragma once
// A disc image for the window tests of long work: it measures until the user cancels.

#include "core/base/WorkProgress.h"
#include "core/image/DiscImage.h"

#include <chrono>
#include <thread>

namespace ui_test {

class WaitingImage final : public ketrilo::DiscImage {
public:
    ketrilo::ImageReport Measure(const std::vector<ketrilo::ImageItem>&,
                                 ketrilo::WorkProgress* progress) override {
        for (;;) {
            progress->ThrowIfCancelled();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
};

} // namespace ui_test
