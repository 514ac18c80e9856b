#pragma once
// "ketrilo --fill [--profile NAME] [--well PATH]... CANDIDATE...": what else fits the disc,
// without a window.

#include <iosfwd>
#include <string>
#include <vector>

namespace ketrilo {

class DiscImage;

// args are the words after "--fill". The --well paths are on the disc already; of the
// candidates, the set whose image fills the disc best is printed, one path a line
// (through EscapeControlCharacters), then "image\t<sectors>\t<bytes>" of the disc with
// them and "free\t<sectors>". Returns 0 when a set was found, 1 when nothing fits, 2 on
// bad usage or an error (message on err) and when a path cannot be reached: each such
// path is named on err and left out, and the rest is filled as usual.
int RunFillCommand(const std::vector<std::string>& args, const std::string& profileFilePath,
                   DiscImage& image, std::ostream& out, std::ostream& err);

} // namespace ketrilo
