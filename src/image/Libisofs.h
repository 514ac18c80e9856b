#pragma once
// libisofs's header as this program includes it: it needs the fixed-width integer types
// first, and without libburn it declares the burn_source that tells an image's size.

#include <sys/types.h>

#include <cstdint>

#define LIBISOFS_WITHOUT_LIBBURN
#include <libisofs/libisofs.h>
