#pragma once
// One spelling for each dropped or named entry, so that it is one key wherever it comes from.

#include <string>
#include <string_view>

namespace ketrilo {

// absolutePath (beginning with "/") spelt as the entry the system reaches by it, with
// repeated "/" and "." segments removed; the root is "/". The links on the way stay as
// they are written, and so does a link that ends the path: it is an entry of its own.
// Where the system has to go through a link that ends a part of the path, because a "/",
// "." or ".." follows it, the link is replaced by its target (link/, link/. and
// link/sub/.. all spell the link's target folder). A ".." goes up from the folder the
// system reaches, not from the text before it. What the system cannot go through (a
// ".." after a missing entry or a file, a link that loops) stays as written, so the
// path names nothing, as it does for the system.
[[nodiscard]] std::string CanonicalPath(std::string_view absolutePath);

} // namespace ketrilo
