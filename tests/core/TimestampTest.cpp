#include "core/text/Timestamp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

using namespace ketrilo;

namespace {

// Runs the test body in a fixed time zone and restores the caller's afterwards.
class TimestampInUtc : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* tz = std::getenv("TZ")) {
            m_savedTz = tz;
        }
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override {
        if (m_savedTz) {
            setenv("TZ", m_savedTz->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::optional<std::string> m_savedTz;
};

std::time_t Utc(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    return timegm(&fields);
}

} // namespace

TEST(NormalizeTimestamp, LeadingZeroOnlyWhenPosition13IsAColon) {
    EXPECT_EQ(NormalizeTimestamp("2010/05/03 9:05:07"), "2010/05/03 09:05:07");
    EXPECT_EQ(NormalizeTimestamp("2010/05/03 19:05:07"), "2010/05/03 19:05:07");
    EXPECT_EQ(NormalizeTimestamp("2010/05/03"), "2010/05/03");
    EXPECT_EQ(NormalizeTimestamp("abcdefghijk:"), "abcdefghijk:"); // 12 characters
    EXPECT_EQ(NormalizeTimestamp("abcdefghijkl:"), "abcdefghijk0ghijkl:");
    EXPECT_EQ(NormalizeTimestamp(""), "");
}

TEST_F(TimestampInUtc, EvenSecondsAndOneDigitHourNormalized) {
    EXPECT_EQ(TimestampText(Utc(2010, 5, 3, 9, 5, 7)), "2010/05/03 09:05:06");
    EXPECT_EQ(TimestampText(Utc(2010, 5, 3, 19, 5, 8)), "2010/05/03 19:05:08");
    EXPECT_EQ(TimestampText(Utc(2024, 12, 31, 23, 59, 59)), "2024/12/31 23:59:58");
}

TEST_F(TimestampInUtc, MidnightAfterRoundingShowsTheDateAlone) {
    EXPECT_EQ(TimestampText(Utc(2010, 5, 3, 0, 0, 1)), "2010/05/03");
    EXPECT_EQ(TimestampText(Utc(2010, 5, 3, 0, 0, 0)), "2010/05/03");
    EXPECT_EQ(TimestampText(Utc(2010, 5, 3, 0, 0, 2)), "2010/05/03 00:00:02");
}

TEST_F(TimestampInUtc, TimesOutsideTheDosRangeKeepTheFormat) {
    EXPECT_EQ(TimestampText(Utc(1970, 1, 1, 3, 4, 5)), "1970/01/01 03:04:04");
    EXPECT_EQ(TimestampText(Utc(1969, 12, 31, 23, 59, 59)), "1969/12/31 23:59:58");
    EXPECT_EQ(TimestampText(Utc(2200, 7, 4, 12, 0, 0)), "2200/07/04 12:00:00");
}

TEST_F(TimestampInUtc, FollowsTheLocalZone) {
    setenv("TZ", "JST-9", 1);
    tzset();
    EXPECT_EQ(TimestampText(Utc(2010, 5, 3, 0, 5, 7)), "2010/05/03 09:05:06");
    EXPECT_EQ(TimestampText(Utc(2010, 5, 2, 15, 0, 1)), "2010/05/03");
}

TEST_F(TimestampInUtc, YearsAtTheEndsOfTheCalendarShowAsTheyAre) {
    // The last second whose year the C library can hold: its year is past INT_MAX - 1900.
    EXPECT_EQ(TimestampText(67768036191676799), "2147485547/12/31 23:59:58");
    EXPECT_EQ(TimestampText(67768036191676800 - 86400), "2147485547/12/31");
    EXPECT_EQ(TimestampText(-67768040609740800), "-2147481748/01/01");
    EXPECT_EQ(TimestampText(67768036191676800), ""); // no calendar year for it
}
