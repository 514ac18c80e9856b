#include "core/image/DiscImageEstimate.h"

#include <gtest/gtest.h>

#include <limits>

namespace ketrilo {
namespace {

// A file takes one directory record per extent of just under 4 GiB, up to the largest
// size a (sparse) file can report.
TEST(ImageEstimate, AFileTakesOneRecordPerExtentAtAnySize) {
    constexpr int64_t extent = (int64_t{1} << 32) - ImageSectorBytes;
    const int64_t one = EntryRecordBytes("f", false, 0);
    const int64_t joliet = one - (EntryRecordBytes("f", false, extent + 1) - one);
    EXPECT_EQ(EntryRecordBytes("f", false, extent), one);
    EXPECT_GT(EntryRecordBytes("f", false, extent + 1), one);
    const int64_t largest = std::numeric_limits<int64_t>::max();
    const int64_t extents = largest / extent + 1;
    EXPECT_EQ(EntryRecordBytes("f", false, largest), extents * (one - joliet) + joliet);
}

} // namespace
} // namespace ketrilo
