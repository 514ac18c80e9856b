#pragma once
// The local files that a drop from another program carries.

#include <optional>
#include <string>
#include <vector>

class QMimeData;

// The local paths of the drop's text/uri-list; nullopt when the drop is not files of this
// machine.
[[nodiscard]] std::optional<std::vector<std::string>> DroppedPaths(const QMimeData* data);
