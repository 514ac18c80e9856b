// A drop's text/uri-list to paths: any bytes are taken or refused whole, every path taken
// is absolute without NUL, and writing the paths back as URLs reads back the same paths.
#include "FuzzInput.h"
#include "core/disk/UriList.h"

#include <string>

namespace {

std::string AsUrl(const std::string& path) {
    constexpr char digits[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte < 0x7F && byte != '%' && byte != '?' && byte != '#') {
            url += c;
        } else {
            url += '%';
            url += digits[byte >> 4];
            url += digits[byte & 0x0F];
        }
    }
    return url;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view list = ketrilo::fuzz::AsText(data, size);
    const auto paths = ketrilo::LocalPathsFromUriList(list);
    if (!paths)
        return 0;
    FUZZ_CHECK(!paths->empty());
    std::string written = "# written back\r\n";
    for (const std::string& path : *paths) {
        FUZZ_CHECK(path.starts_with('/'));
        FUZZ_CHECK(path.find('\0') == std::string::npos);
        written += AsUrl(path) + "\r\n";
    }
    FUZZ_CHECK(ketrilo::LocalPathsFromUriList(written) == paths);
    return 0;
}
