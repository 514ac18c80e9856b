#include "core/text/Paths.h"

namespace ketrilo {

std::string WithTrailingBackslash(const std::string& path) {
    return !path.empty() && path.back() == '/' ? path : path + "/";
}

SplitPath SplitFullPath(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {"", path};
    }
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

} // namespace ketrilo
