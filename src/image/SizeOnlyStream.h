#pragma once
// File contents that libisofs lays out but never reads: only the size and the identity
// of the file on disk (hard links to one file share their data in the image).

#include <sys/stat.h>

#include "Libisofs.h"

namespace ketrilo {

// A new stream with one reference, which the file node that receives it takes over.
[[nodiscard]] IsoStream* NewSizeOnlyStream(const struct stat& st);

} // namespace ketrilo
