// Calendar arithmetic, date parsing, duration texts and the sleeps.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <ctime>

#include "EngDebug.h"
#include "EngMiscTime.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "support/TestSupport.h"

using vztest::Logged;

namespace
{

EngMiscDate D(int y, int m, int d)
{
    EngMiscDate date;
    date.year = y;
    date.month = char(m);
    date.day = char(d);
    return date;
}

void ExpectDate(const EngMiscDate& got, int y, int m, int d)
{
    EXPECT_EQ(got.year, y);
    EXPECT_EQ(int(got.month), m);
    EXPECT_EQ(int(got.day), d);
}

TEST(MiscTime, DaysInFebruaryFollowTheGregorianRule)
{
    struct Case
    {
        int year, days;
    };
    const Case cases[] = {{1900, 28}, {2000, 29}, {2023, 28}, {2024, 29}, {2100, 28}, {2400, 29}};
    for (const Case& c : cases)
        EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(2, c.year), c.days) << c.year;
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(12, 2023), 31);
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(4, 2023), 30);
    DebugClearLog();
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(13, 2023), 0);
    EXPECT_TRUE(Logged("Invalid month 13"));
}

TEST(MiscTime, NextAndPreviousDayAreInverse)
{
    struct Case
    {
        EngMiscDate day, next;
    };
    const Case cases[] = {
        {D(2023, 12, 31), D(2024, 1, 1)}, {D(2024, 2, 28), D(2024, 2, 29)}, {D(2024, 2, 29), D(2024, 3, 1)},
        {D(2023, 2, 28), D(2023, 3, 1)},  {D(1900, 2, 28), D(1900, 3, 1)},  {D(2000, 2, 28), D(2000, 2, 29)},
        {D(2100, 2, 28), D(2100, 3, 1)},  {D(2023, 4, 30), D(2023, 5, 1)},  {D(2023, 7, 31), D(2023, 8, 1)},
        {D(2023, 6, 15), D(2023, 6, 16)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.day.year) + "-" + std::to_string(c.day.month) + "-" +
                     std::to_string(c.day.day));
        EngMiscDate d = c.day;
        EngMiscGetNextDay(&d);
        ExpectDate(d, c.next.year, c.next.month, c.next.day);
        EngMiscGetPreviousDay(&d);
        ExpectDate(d, c.day.year, c.day.month, c.day.day);
    }
    DebugClearLog();
    EngMiscDate bad = D(2023, 13, 1);
    EngMiscGetPreviousDay(&bad);
    ExpectDate(bad, 2023, 13, 1);
    EXPECT_TRUE(Logged("( EngMiscGetPreviousDay )    Invalid date 2023:13:01"));
    bad = D(2023, 2, 0);
    EngMiscGetNextDay(&bad);
    ExpectDate(bad, 2023, 2, 0);
}

TEST(MiscTime, HoursCrossDays)
{
    EngMiscDateAndTime dt = {D(2023, 12, 31), 23, 59, 0};
    EngMiscGetNextHour(&dt);
    ExpectDate(dt.date, 2024, 1, 1);
    EXPECT_EQ(dt.hour, 0);
    EngMiscGetPreviousHour(&dt);
    ExpectDate(dt.date, 2023, 12, 31);
    EXPECT_EQ(dt.hour, 23);
    EngMiscGetPreviousHour(&dt);
    EXPECT_EQ(dt.hour, 22);
}

TEST(MiscTime, DayOfYearAndWeekNumbers)
{
    struct Case
    {
        EngMiscDate date;
        int day_of_year, week;
    };
    const Case cases[] = {{D(2023, 1, 1), 1, 1},      {D(2023, 1, 6), 6, 1},      {D(2023, 1, 7), 7, 2},
                          {D(2023, 3, 1), 60, 9},     {D(2024, 3, 1), 61, 9},     {D(2023, 12, 31), 365, 52},
                          {D(2024, 12, 31), 366, 52}, {D(2100, 12, 31), 365, 52}, {D(2000, 12, 31), 366, 52}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(EngMiscGetDayOfYearForDate(&c.date), c.day_of_year)
            << c.date.year << "-" << int(c.date.month);
        EXPECT_EQ(EngMiscGetWeekNumberForDate(&c.date), c.week) << c.date.year << "-" << int(c.date.month);
    }
    DebugClearLog();
    EXPECT_EQ(EngMiscGetDayOfYearForDate(nullptr), 0);
    EXPECT_TRUE(Logged("No date."));
    EngMiscDate bad = D(2023, 0, 1);
    EXPECT_EQ(EngMiscGetDayOfYearForDate(&bad), 0);
    EXPECT_TRUE(Logged("Invalid month 0."));
}

TEST(MiscTime, ComparisonsAndOrderingKey)
{
    struct Case
    {
        EngMiscDate a, b;
        bool earlier, same;
    };
    const Case cases[] = {{D(2023, 5, 5), D(2023, 5, 6), true, false},
                          {D(2023, 12, 31), D(2024, 1, 1), true, false},
                          {D(2024, 1, 1), D(2023, 12, 31), false, false},
                          {D(2023, 2, 9), D(2023, 10, 1), true, false},
                          {D(2023, 5, 5), D(2023, 5, 5), false, true}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(EngMiscDateIsDateEarlierThanDate(c.a, c.b), c.earlier);
        EXPECT_EQ(EngMiscDateIsDateLaterThanDate(c.a, c.b), !c.earlier && !c.same);
        EXPECT_EQ(EngMiscDateAreDatesTheSame(c.a, c.b), c.same);
    }
    EngMiscDateAndTime early = {D(2023, 12, 31), 23, 59, 0}, late = {D(2024, 1, 1), 0, 0, 0};
    EXPECT_LT(EngMiscGetMinutesFromDateAndTime(&early), EngMiscGetMinutesFromDateAndTime(&late));
    EngMiscDateAndTime far = {D(9999, 12, 31), 23, 59, 0};
    EXPECT_EQ(EngMiscGetMinutesFromDateAndTime(&far), INT_MAX);
    EXPECT_EQ(EngMiscGetMinutesFromDateAndTime(nullptr), 0);
}

TEST(MiscTime, ParsesDateAndTimeStrings)
{
    struct Case
    {
        const char* text;
        bool ok;
        int y, mo, d, h, mi, s;
    };
    const Case cases[] = {
        {"2024-02-29 13:05:09", true, 2024, 2, 29, 13, 5, 9},
        {"2023-12-31", true, 2023, 12, 31, 0, 0, 0},
        {"1900-1-1 0:0:0", true, 1900, 1, 1, 0, 0, 0},
        {"1899-12-31 10:00:00", false, 0, 0, 0, 0, 0, 0},
        {"2023-13-01 10:00:00", false, 0, 0, 0, 0, 0, 0},
        {"2023-01-32", false, 0, 0, 0, 0, 0, 0},
        {"2023-01-01 24:00:00", false, 0, 0, 0, 0, 0, 0},
        {"2023-01-01 10:60:00", false, 0, 0, 0, 0, 0, 0},
        {"2023-01-01 10:00:60", false, 0, 0, 0, 0, 0, 0},
        {"2023", false, 0, 0, 0, 0, 0, 0},
        {"garbage", false, 0, 0, 0, 0, 0, 0},
        // Numbers that do not fit an int are refused, never taken by their low bits.
        {"4294969320-01-01 10:00:00", false, 0, 0, 0, 0, 0, 0},
        {"2024-4294967297-01", false, 0, 0, 0, 0, 0, 0},
        {"2024-01-01 4294967306:00:00", false, 0, 0, 0, 0, 0, 0},
        {"2024-01-01 10:00:99999999999999999999", false, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        EngMiscDateAndTime dt = {D(1, 1, 1), 7, 7, 7};
        DebugClearLog();
        EXPECT_EQ(EngMiscSetDateAndTimeStructFromString(c.text, &dt), c.ok);
        if (c.ok)
        {
            ExpectDate(dt.date, c.y, c.mo, c.d);
            EXPECT_EQ(dt.hour, c.h);
            EXPECT_EQ(int(dt.minute), c.mi);
            EXPECT_EQ(int(dt.second), c.s);
        }
        else
        {
            ExpectDate(dt.date, 1, 1, 1);
            EXPECT_TRUE(Logged(std::string("Invalid date in string: ") + c.text + "."));
        }
    }
    DebugClearLog();
    EngMiscDateAndTime dt;
    EXPECT_FALSE(EngMiscSetDateAndTimeStructFromString("", &dt));
    EXPECT_TRUE(Logged("No date string."));
    EXPECT_FALSE(EngMiscSetDateAndTimeStructFromString("2023-01-01", nullptr));
    EXPECT_TRUE(Logged("Invalid parameters."));
}

TEST(MiscTime, DurationTexts)
{
    struct Case
    {
        EngUInt32 seconds;
        char with_seconds;
        int size;
        const char* text;
    };
    const Case cases[] = {{3725, 1, 32, "1:02:05"},
                          {3725, 0, 32, "1:02"},
                          {59, 1, 32, "0:00:59"},
                          {360000, 0, 32, "100:00"},
                          {3725, 1, 5, "1:02"},
                          {0, 0, 32, "0:00"},
                          {4294967295u, 1, 32, "1193046:28:15"}};
    for (const Case& c : cases)
    {
        char out[32];
        memset(out, 'x', sizeof(out));
        EngMiscGetTimeStringFromSeconds(c.seconds, c.with_seconds, out, c.size);
        EXPECT_STREQ(out, c.text) << c.seconds;
    }
    DebugClearLog();
    char one[1] = {'q'};
    EngMiscGetTimeStringFromSeconds(1, 1, one, 1);
    EXPECT_EQ(one[0], 'q');
    EXPECT_TRUE(Logged("No out_string."));
}

TEST(MiscTime, CurrentDateAgreesWithTheSystem)
{
    EngMiscDateAndTime dt;
    time_t before = time(nullptr);
    EngMiscGetCurrentDateAndTime(&dt);
    tm t;
    localtime_r(&before, &t);
    EXPECT_EQ(dt.date.year, t.tm_year + 1900);
    EXPECT_GE(dt.date.year, 2023);
    EXPECT_GE(int(dt.date.month), 1);
    EXPECT_LE(int(dt.date.month), 12);
    int d, m, y;
    ASSERT_EQ(sscanf(EngMiscGetCurrentDateAsString(), "%d/%d/%d", &d, &m, &y), 3);
    EXPECT_EQ(y, dt.date.year);
    EXPECT_EQ(strlen(EngMiscGetCurrentTimeAsString(1)) >= 7, true);
    EXPECT_EQ(strchr(EngMiscGetCurrentDateAndTimeAsString(0), ' ') != nullptr, true);
}

int pump_calls = 0;
char PumpQuitsOnSecondCall()
{
    return ++pump_calls >= 2 ? -1 : 1;
}

TEST(MiscTime, SleepsWaitAndPumpEventsOnlyWithAWindow)
{
    eng_main_current_time = -5;
    EXPECT_TRUE(EngMiscSleep(0));
    EXPECT_EQ(eng_main_current_time, -5) << "a zero sleep touched the clock";
    EXPECT_TRUE(EngMiscSleep(-1));

    pump_calls = 0;
    eng_misc_sleep_process_messages = PumpQuitsOnSecondCall;
    EXPECT_TRUE(EngMiscSleep(0.03)); // no window yet: no pumping
    EXPECT_EQ(pump_calls, 0);

    EngWindow window;
    eng_main_window = &window;
    double start = eng_main_current_time;
    EXPECT_FALSE(EngMiscSleep(5)); // the second pump asks to quit
    EXPECT_EQ(pump_calls, 2);
    EXPECT_LT(eng_main_current_time - start, 1.0);

    pump_calls = 0;
    EngMiscSleepWithHang(0.02);
    EXPECT_EQ(pump_calls, 0);
    eng_main_window = nullptr;
    eng_misc_sleep_process_messages = nullptr;

    EXPECT_EQ(EngMiscCallPlatformSleepFunc(0), 0);
    EXPECT_EQ(EngMiscCallPlatformSleepFunc(0.001), 0);

    float mb = 0;
    EXPECT_TRUE(EngMiscGetProgramsMemoryUsageMB(&mb));
    EXPECT_GT(mb, 0);
}

} // namespace
