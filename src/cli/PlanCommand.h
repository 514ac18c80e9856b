#pragma once
// "ketrilo --plan [--profile NAME] [--out DIR] PATH...": the spanning plan without a window.

#include "core/image/DiscImage.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace ketrilo {

// args are the words after "--plan". Prints one block per disc: "disc\t<n>\t<sectors>\t
// <clusters>" then "item\t<imagePath>\t<diskPath>" per item and an empty line; then
// "large\t<path>" per file too large for a disc, and "discs\t<count>\t<lower bound>".
// With --out, writes the discs' graft-point lists there ("list\t<file>" each). Then a
// "check\trefused\t<path>" line per entry the image's library refuses (named on err
// with its reason). Paths pass through EscapeControlCharacters. A path given twice is
// planned once; one at which nothing is found is named on err and left out. Returns
// 0 when every item is planned, 1 when a file is too large for a disc or an entry is
// refused, 2 on bad usage, an unreachable path or an error (message on err).
int RunPlanCommand(const std::vector<std::string>& args, const std::string& profileFilePath,
                   DiscImage& image, std::ostream& out, std::ostream& err);

} // namespace ketrilo
