// The time stamp text over all of time_t (in UTC): the calendar date of the C library
// where it has one, whole years included, and no text where it has none.
#include "FuzzInput.h"
#include "core/text/Timestamp.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

struct Civil {
    int64_t year, month, day;
};

// The proleptic Gregorian date of a day counted from 1970-01-01, by the era arithmetic of
// "chrono-compatible low-level date algorithms"; no C library involved.
Civil CivilFromDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shifted = (5 * dayOfYear + 2) / 153;
    const int64_t month = shifted < 10 ? shifted + 3 : shifted - 9;
    return {yearOfEra + era * 400 + (month <= 2), month, dayOfYear - (153 * shifted + 2) / 5 + 1};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "UTC", 1);
    tzset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::time_t t = ketrilo::fuzz::FirstInt64(data, size);
    const std::string text = ketrilo::TimestampText(t);

    // Day and second of day, rounded toward the past; no product that could overflow.
    const bool beforeMidnight = t % 86400 < 0;
    const int64_t days = t / 86400 - beforeMidnight;
    const int64_t secondOfDay = t % 86400 + (beforeMidnight ? 86400 : 0);
    const Civil date = CivilFromDays(days);
    if (date.year - 1900 < INT_MIN || date.year - 1900 > INT_MAX) {
        FUZZ_CHECK(text.empty()); // beyond the years a struct tm holds
        return 0;
    }
    const int64_t even = secondOfDay - secondOfDay % 2;
    char expected[80];
    if (even == 0) {
        std::snprintf(expected, sizeof expected, "%04lld/%02lld/%02lld", (long long)date.year,
                      (long long)date.month, (long long)date.day);
    } else {
        std::snprintf(expected, sizeof expected, "%04lld/%02lld/%02lld %lld:%02lld:%02lld",
                      (long long)date.year, (long long)date.month, (long long)date.day,
                      (long long)(even / 3600), (long long)(even / 60 % 60),
                      (long long)(even % 60));
    }
    FUZZ_CHECK(text == ketrilo::NormalizeTimestamp(expected));
    return 0;
}
