// Time stamp text: "%Y%m%d%H%M%S", local time, DST automatic.
#include "TARNTool.h"

#include "TraceCapture.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <string>
#include <unistd.h>

namespace {

// Central European time with its daylight saving rule, written as a POSIX TZ
// rule so that the test does not depend on the tz database being installed:
// CET (UTC+1), CEST (UTC+2) from the last Sunday of March 02:00 to the last
// Sunday of October 03:00.
constexpr const char* kBerlin = "CET-1CEST,M3.5.0,M10.5.0/3";

class TimeStampTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("TZ");
        m_hadTz = old != nullptr;
        if (old)
            m_oldTz = old;
        UseZone(kBerlin);
    }
    void TearDown() override {
        if (m_hadTz)
            setenv("TZ", m_oldTz.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    static void UseZone(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
    }
    // Seconds since the epoch of a UTC date and time.
    static std::time_t Utc(int year, int month, int day, int hour, int minute, int second) {
        std::tm tm{};
        tm.tm_year = year - 1900;
        tm.tm_mon = month - 1;
        tm.tm_mday = day;
        tm.tm_hour = hour;
        tm.tm_min = minute;
        tm.tm_sec = second;
        return timegm(&tm);
    }
    static bool Parse(const std::string& text, std::time_t& time) {
        return ParseTimeStamp(text, time);
    }

    TraceCapture trace;

private:
    bool m_hadTz = false;
    std::string m_oldTz;
};

// 1 March 1998, 23:59:59: the digits one after the other, and back.
TEST_F(TimeStampTest, FirstOfMarch1998RoundTrip) {
    std::tm local{};
    local.tm_year = 1998 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 1;
    local.tm_hour = 23;
    local.tm_min = 59;
    local.tm_sec = 59;
    local.tm_isdst = -1;
    const std::time_t time = std::mktime(&local);
    EXPECT_EQ(time, Utc(1998, 3, 1, 22, 59, 59)); // CET = UTC+1
    EXPECT_EQ(FormatTimeStamp(time), "19980301235959");

    std::time_t parsed = 0;
    ASSERT_TRUE(Parse("19980301235959", parsed));
    EXPECT_EQ(parsed, time);
    EXPECT_EQ(trace.AssertCount(), 0u);
}

TEST_F(TimeStampTest, RoundTripInOtherZones) {
    for (const char* zone : {"UTC0", "EST5EDT,M3.2.0,M11.1.0", "JST-9", kBerlin}) {
        SCOPED_TRACE(zone);
        UseZone(zone);
        std::time_t parsed = 0;
        ASSERT_TRUE(Parse("19980301235959", parsed));
        EXPECT_EQ(FormatTimeStamp(parsed), "19980301235959");
    }
}

TEST_F(TimeStampTest, FormatIsFourteenDigitsWithLeadingZeros) {
    EXPECT_EQ(FormatTimeStamp(Utc(2001, 2, 3, 3, 5, 6)), "20010203040506");
    EXPECT_EQ(FormatTimeStamp(Utc(1970, 1, 1, 0, 0, 0)), "19700101010000");
    const std::string now = CurrentTimeStamp();
    ASSERT_EQ(now.size(), 14u);
    EXPECT_EQ(now.find_first_not_of("0123456789"), std::string::npos);
}

TEST_F(TimeStampTest, DaylightSavingTimeIsDeterminedAutomatically) {
    std::time_t time = 0;
    ASSERT_TRUE(Parse("19980701120000", time)); // summer: CEST, UTC+2
    EXPECT_EQ(time, Utc(1998, 7, 1, 10, 0, 0));
    ASSERT_TRUE(Parse("19980101120000", time)); // winter: CET, UTC+1
    EXPECT_EQ(time, Utc(1998, 1, 1, 11, 0, 0));
    EXPECT_EQ(FormatTimeStamp(Utc(1998, 7, 1, 10, 0, 0)), "19980701120000");
}

// 31 March 2024: clocks go from 02:00 to 03:00; 02:30 does not exist.
TEST_F(TimeStampTest, TimeInTheSkippedHourIsRejected) {
    std::time_t time = 0;
    EXPECT_FALSE(Parse("20240331023000", time));
    EXPECT_EQ(time, static_cast<std::time_t>(-1));
    EXPECT_TRUE(Parse("20240331015959", time));
    EXPECT_EQ(time, Utc(2024, 3, 31, 0, 59, 59));
    EXPECT_TRUE(Parse("20240331030000", time));
    EXPECT_EQ(time, Utc(2024, 3, 31, 1, 0, 0));
    EXPECT_EQ(trace.AssertCount(), 0u); // bad text is no programming error
}

// 27 October 2024: clocks go from 03:00 back to 02:00; 02:30 occurs twice.
TEST_F(TimeStampTest, RepeatedHourGivesOneOfTheTwoMoments) {
    std::time_t time = 0;
    ASSERT_TRUE(Parse("20241027023000", time));
    const std::time_t summer = Utc(2024, 10, 27, 0, 30, 0); // 02:30 CEST
    const std::time_t winter = Utc(2024, 10, 27, 1, 30, 0); // 02:30 CET
    EXPECT_TRUE(time == summer || time == winter) << time;
    EXPECT_EQ(FormatTimeStamp(time), "20241027023000");
    EXPECT_EQ(FormatTimeStamp(summer), "20241027023000");
    EXPECT_EQ(FormatTimeStamp(winter), "20241027023000");
}

// The same two clock changes with the tz database's zone, where installed.
TEST_F(TimeStampTest, EuropeBerlinFromTheTzDatabase) {
    if (::access("/usr/share/zoneinfo/Europe/Berlin", R_OK) != 0)
        GTEST_SKIP() << "tzdata is not installed";
    UseZone("Europe/Berlin");
    std::time_t time = 0;
    EXPECT_FALSE(Parse("20240331023000", time));
    ASSERT_TRUE(Parse("20241027023000", time));
    EXPECT_EQ(FormatTimeStamp(time), "20241027023000");
    ASSERT_TRUE(Parse("19980301235959", time));
    EXPECT_EQ(time, Utc(1998, 3, 1, 22, 59, 59));
}

TEST_F(TimeStampTest, MalformedTextIsRejectedWithoutReport) {
    const char* const bad[] = {
        "",                 // empty
        "1998030123595",    // 13 digits
        "199803012359590",  // 15 digits
        "1998030123595a",   // not a digit
        " 9980301235959",   // blank
        "+998030123595",    // sign
        "1998-03-01 23:59", // separators
        "19980001235959",   // month 0
        "19981301235959",   // month 13
        "19980300235959",   // day 0
        "19980332235959",   // day 32
        "19980231120000",   // 31 February
        "19990229120000",   // 29 February of a common year
        "19980431120000",   // 31 April
        "19980301245959",   // hour 24
        "19980301236059",   // minute 60
        "19980301235960",   // second 60 (no leap seconds in local time)
        "00000000000000",   // the processed mark of agent log lines
        "99999999999999",
    };
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        std::time_t time = 12345;
        EXPECT_FALSE(Parse(text, time));
        EXPECT_EQ(time, static_cast<std::time_t>(-1));
    }
    // A NUL inside the text.
    std::time_t time = 0;
    EXPECT_FALSE(ParseTimeStamp(std::string_view("19980301\0"
                                                 "35959",
                                                 14),
                                time));
    EXPECT_EQ(trace.AssertCount(), 0u);
}

TEST_F(TimeStampTest, EdgesThatExist) {
    std::time_t time = 0;
    EXPECT_TRUE(Parse("20000229120000", time)); // leap year
    EXPECT_EQ(FormatTimeStamp(time), "20000229120000");
    EXPECT_TRUE(Parse("19991231235959", time));
    EXPECT_EQ(FormatTimeStamp(time + 1), "20000101000000");
    // One second before the epoch in UTC: mktime's result is -1, and still valid.
    UseZone("UTC0");
    EXPECT_TRUE(Parse("19691231235959", time));
    EXPECT_EQ(time, static_cast<std::time_t>(-1));
    EXPECT_TRUE(Parse("99991231235959", time));
    EXPECT_EQ(FormatTimeStamp(time), "99991231235959");
    // Year 10000 has no 14-digit form.
    EXPECT_EQ(FormatTimeStamp(time + 1), "");
}

TEST_F(TimeStampTest, DisplayText) {
    const char* old = std::setlocale(LC_TIME, nullptr);
    const std::string oldLocale = old ? old : "C";
    std::setlocale(LC_TIME, "C");
    std::time_t time = 0;
    ASSERT_TRUE(Parse("19980301235959", time));
    EXPECT_EQ(FormatDisplayTime(time), "Sun Mar  1 23:59:59 1998");
    EXPECT_EQ(TimeStampToDisplayText("19980301235959"), "Sun Mar  1 23:59:59 1998");
    EXPECT_EQ(TimeStampToDisplayText("garbage"), "garbage");
    EXPECT_EQ(TimeStampToDisplayText(""), "");
    std::setlocale(LC_TIME, oldLocale.c_str());
}

} // namespace
