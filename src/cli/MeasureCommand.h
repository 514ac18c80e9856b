#pragma once
// "ketrilo --measure [--image] [--profile NAME] PATH...": the drop registration without
// a window.

#include <iosfwd>
#include <string>
#include <vector>

namespace ketrilo {

class DiscImage;

// args are the words after "--measure". Prints one line per registered item
// ("<clusters>\t<bytes>\t<path>"), one per collected long name
// ("long\t<length>\t<path>"), then the status line; paths pass through
// EscapeControlCharacters, so each stays on its line. Returns 0 when the items fit,
// 1 when they exceed the capacity (a total beyond 64 bits never fits), 2 on bad usage
// (message on err) and when a path cannot be reached: each such path is named on err
// and left out, and the rest is printed as usual.
// With "--image", image (which must then be given) lays out the disc image of the items:
// an "image\t<sectors>\t<bytes>" line and one "check\t<kind>\t<path>" line per finding come
// before the status line, and the fit is judged by the image instead of the clusters.
int RunMeasureCommand(const std::vector<std::string>& args, const std::string& profileFilePath,
                      std::ostream& out, std::ostream& err, DiscImage* image = nullptr);

} // namespace ketrilo
