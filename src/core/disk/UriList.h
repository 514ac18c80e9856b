#pragma once
// The text/uri-list that another program hands over with a drop of files.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ketrilo {

// The local paths of a text/uri-list, in order, percent-decoded to the file system's
// bytes. Lines end in CRLF or LF; blank lines and comment lines ("#...") are skipped.
// A line is a local file only as "file:" with no host or "localhost", an absolute
// path, no query or fragment, valid percent-encoding and no NUL once decoded.
// nullopt refuses the whole drop: some line is not a local file, or no line is one.
[[nodiscard]] std::optional<std::vector<std::string>> LocalPathsFromUriList(std::string_view list);

} // namespace ketrilo
