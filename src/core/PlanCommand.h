#pragma once
// "ketrilo --plan [--profile NAME] [--out DIR] PATH...": the spanning plan without a window.

#include "DiscImage.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace ketrilo {

// args are the words after "--plan". Prints one block per disc: "disc\t<n>\t<sectors>\t
// <clusters>" then "item\t<imagePath>\t<diskPath>" per item and an empty line; then
// "large\t<path>" per file too large for a disc, and "discs\t<count>\t<lower bound>".
// With --out, writes the discs' graft-point lists there ("list\t<file>" each). Returns
// 0 when every item is planned, 1 when a file is too large for a disc, 2 on bad usage
// or an error (message on err).
int RunPlanCommand(const std::vector<std::string>& args, const std::string& profileFilePath,
                   DiscImage& image, std::ostream& out, std::ostream& err);

} // namespace ketrilo
