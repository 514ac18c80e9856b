// The canonical spelling of a path: absolute, no empty or "." segment, no trailing "/",
// and spelling it again changes nothing. Paths are looked up on this machine's real
// file system, whose links (/proc/self/...) take part: a link's target may be longer than
// the link, so the spelling may grow.
#include "FuzzInput.h"
#include "core/disk/CanonicalPath.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = "/" + std::string(ketrilo::fuzz::AsText(data, size));
    const std::string canonical = ketrilo::CanonicalPath(path);
    FUZZ_CHECK(canonical.starts_with('/'));
    FUZZ_CHECK(canonical == "/" || !canonical.ends_with('/'));
    FUZZ_CHECK(canonical.find("//") == std::string::npos);
    FUZZ_CHECK(canonical.find("/./") == std::string::npos && !canonical.ends_with("/."));
    FUZZ_CHECK(ketrilo::CanonicalPath(canonical) == canonical);
    return 0;
}
