#pragma once
// Names written one to a line, whatever bytes they hold.

#include <string>
#include <string_view>

namespace ketrilo {

// text with "\" written "\\", newline "\n", tab "\t", carriage return "\r", and every
// other control character (U+0000-U+001F, U+007F-U+009F) or byte that is not UTF-8
// written byte by byte as "\xHH"; so the result holds no control character, is UTF-8,
// and a name cannot pass for a line of its own.
[[nodiscard]] std::string EscapeControlCharacters(std::string_view text);

} // namespace ketrilo
