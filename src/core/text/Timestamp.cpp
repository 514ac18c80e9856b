#include "core/text/Timestamp.h"

#include <cstdio>

namespace ketrilo {

std::string NormalizeTimestamp(const std::string& text) {
    // The texts are ASCII, so positions count bytes.
    if (text.size() >= 13 && text[12] == ':') {
        return text.substr(0, 11) + "0" + text.substr(text.size() - 7);
    }
    return text;
}

std::string TimestampText(std::time_t modified) {
    std::tm local{};
    if (localtime_r(&modified, &local) == nullptr) {
        return {};
    }
    // The disc's time stamps keep two-second steps.
    const int seconds = local.tm_sec - local.tm_sec % 2;
    // tm_year holds years up to INT_MAX past 1900: the year itself may not fit an int.
    const long long year = static_cast<long long>(local.tm_year) + 1900;
    char buffer[64];
    if (local.tm_hour == 0 && local.tm_min == 0 && seconds == 0) {
        std::snprintf(buffer, sizeof buffer, "%04lld/%02d/%02d", year, local.tm_mon + 1,
                      local.tm_mday);
    } else {
        std::snprintf(buffer, sizeof buffer, "%04lld/%02d/%02d %d:%02d:%02d", year,
                      local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, seconds);
    }
    return NormalizeTimestamp(buffer);
}

} // namespace ketrilo
