#pragma once
// The image of the well against the disc in force: which items it is built from, the
// second status panel's text, and the words that tell a user each finding.

#include "core/image/DiscImage.h"
#include "core/workspace/Well.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ketrilo {

// One image item per well row, in well order, each at the image's root under its name.
[[nodiscard]] std::vector<ImageItem> ImageItemsOf(const Well& well);

// Sectors left on the disc once the image is written; negative when it does not fit.
[[nodiscard]] int64_t ImageRemainingSectors(int64_t imageSectors, int64_t capacityClusters);

// "イメージ:715,353セクタ 残り:1,583,143セクタ"; when the image does not fit, the
// remainder also in bytes, as the status line gives its own, and the verdict:
// "イメージ:333,026セクタ 残り:-26セクタ(-53,248バイト) 入りません".
[[nodiscard]] std::string ImageStatusText(int64_t imageSectors, int64_t capacityClusters);
// What the image figure holds and what each burning program adds to it, for the panel's
// tooltip.
inline constexpr const char* ImageFigureAssumption =
    "xorriso -as mkisofs -R -J -iso-level 3 -no-pad が書くイメージの大きさです。xorriso は "
    "-no-pad がないと150セクタ、Brasero は検査ファイル .checksum.md5 の分、Xfburn は名前の"
    "版番号などの分 (ファイルが多いと数十セクタ) を加えて書きます";

// The space left that the folder list's tint compares each row with: the clusters' when
// the image fits or is not known, the image's when it is known and does not fit, so that
// no row looks as if it still fitted then.
[[nodiscard]] int64_t TintRemainingBytes(int64_t clustersRemainingBytes,
                                         std::optional<int64_t> imageRemainingSectors);
// What the panel shows while the image is being computed.
inline constexpr const char* ImageComputingText = "計算中…";

// A finding's kind as a word for scripts ("joliet-name-too-long", ...).
[[nodiscard]] const char* ImageFindingKeyword(ImageFindingKind kind);
// What is wrong, in one line a user understands.
[[nodiscard]] const char* ImageFindingReason(ImageFindingKind kind);
// What the burning programs will do about it.
[[nodiscard]] const char* ImageFindingAction(ImageFindingKind kind);
// Where a name over 64 units can be mended: in the long-name list when a drop put it there;
// otherwise how to get it there.
[[nodiscard]] const char* LongNameAdvice(bool inLongNameList);

// False when a file of the image is over the largest libisofs writes: no burner makes it,
// and its figure is none to show.
[[nodiscard]] bool ImageCanBeMade(const ImageReport& report);
// What the panel shows then.
inline constexpr const char* ImageCannotBeMadeText =
    "イメージ:作れません (約400 GiB を超えるファイルがあります)";

} // namespace ketrilo
