// The disc profile file as a whole: any bytes load, and every chooser entry gives a
// capacity or the error the user is shown.
#include "FuzzInput.h"
#include "core/base/KetriloError.h"
#include "core/profiles/ProfileFile.h"

#include <sys/mman.h>
#include <unistd.h>

#include <string>

namespace {

// The file lives in memory and is read back through its /proc path, as from disk.
int ProfileFile() {
    static const int fd = memfd_create("ketrilodisclist.ini", 0);
    return fd;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int fd = ProfileFile();
    FUZZ_CHECK(fd >= 0 && ftruncate(fd, 0) == 0);
    FUZZ_CHECK(pwrite(fd, data, size, 0) == static_cast<ssize_t>(size));
    const ketrilo::DiscProfiles profiles =
        ketrilo::LoadDiscProfiles("/proc/self/fd/" + std::to_string(fd));
    FUZZ_CHECK(profiles.names.size() == profiles.CapacityList.size());
    FUZZ_CHECK(profiles.names.size() <= size_t(ketrilo::MaxProfiles));
    // The entries at both ends of the chooser and just outside it.
    const int count = static_cast<int>(profiles.names.size());
    for (const int i : {-1, 0, 1, count - 2, count - 1, count}) {
        try {
            (void)ketrilo::CapacityForChoice(profiles.CapacityList, i);
            FUZZ_CHECK(i >= 0 && i < count);
        } catch (const ketrilo::KetriloError& e) {
            FUZZ_CHECK(*e.what() != '\0');
        }
    }
    return 0;
}
