#pragma once
// The image of the well against the disc in force: which items it is built from, the
// second status panel's text, and the words that tell a user each finding.

#include "DiscImage.h"
#include "Well.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ketrilo {

// One image item per well row, in well order, each at the image's root under its name.
[[nodiscard]] std::vector<ImageItem> ImageItemsOf(const Well& well);

// Sectors left on the disc once the image is written; negative when it does not fit.
[[nodiscard]] int64_t ImageRemainingSectors(int64_t imageSectors, int64_t capacityClusters);

// "イメージ:715,353セクタ 残り:1,583,143セクタ".
[[nodiscard]] std::string ImageStatusText(int64_t imageSectors, int64_t capacityClusters);
// What the panel shows while the image is being computed.
inline constexpr const char* ImageComputingText = "計算中…";

// A finding's kind as a word for scripts ("joliet-name-too-long", ...).
[[nodiscard]] const char* ImageFindingKeyword(ImageFindingKind kind);
// What is wrong, in one line a user understands.
[[nodiscard]] const char* ImageFindingReason(ImageFindingKind kind);
// What the burning program will do about it.
[[nodiscard]] const char* ImageFindingAction(ImageFindingKind kind);

} // namespace ketrilo
