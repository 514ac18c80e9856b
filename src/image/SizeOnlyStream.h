#pragma once
// File contents that libisofs lays out but never reads: only the size and the identity
// of the file on disk (hard links to one file share their data in the image).

#include <sys/types.h>

#include "Libisofs.h"

namespace ketrilo {

// A new stream with one reference, which the file node that receives it takes over.
[[nodiscard]] IsoStream* NewSizeOnlyStream(off_t size, dev_t dev, ino_t ino);

} // namespace ketrilo
