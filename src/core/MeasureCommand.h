#pragma once
// "ketrilo --measure [--profile NAME] PATH...": the drop registration without a window.

#include <iosfwd>
#include <string>
#include <vector>

namespace ketrilo {

// args are the words after "--measure". Prints one line per registered item
// ("<clusters>\t<bytes>\t<path>"), one per collected long name
// ("long\t<length>\t<path>"), then the status line; paths pass through
// EscapeControlCharacters, so each stays on its line. Returns 0 when the items fit,
// 1 when they exceed the capacity (a total beyond 64 bits never fits), 2 on bad usage
// (message on err) and when a path cannot be reached: each such path is named on err
// and left out, and the rest is printed as usual.
int RunMeasureCommand(const std::vector<std::string>& args, const std::string& profileFilePath,
                      std::ostream& out, std::ostream& err);

} // namespace ketrilo
