#include "core/image/ArithmeticDiscImage.h"

namespace ketrilo {

ImageReport ArithmeticDiscImage::Measure(const std::vector<ImageItem>&, WorkProgress*) {
    return {};
}

void ArithmeticDiscImage::Forget() {}

} // namespace ketrilo
