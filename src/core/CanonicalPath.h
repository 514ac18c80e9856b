#pragma once
// One spelling for each dropped or named entry, so that it is one key wherever it comes from.

#include <string>
#include <string_view>

namespace ketrilo {

// absolutePath (beginning with "/") with repeated "/", "." segments and trailing "/"
// removed, and each ".." resolved to the folder the system reaches from what stands
// before it: its parent by the text, unless that is a symbolic link, whose target's
// parent is meant. A ".." the system cannot take (after a missing entry or a file)
// stays as written, so the path names nothing, as it does for the system. Links
// not followed by ".." stay links. The root is "/".
[[nodiscard]] std::string CanonicalPath(std::string_view absolutePath);

} // namespace ketrilo
