// Dates, times, sleeping and memory use.
#include "EngMiscTime.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <initializer_list>
#include <unistd.h>

#include "EngDebug.h"
#include "EngProgram.h"
#include "EngMainLoop.h"
#include "EngMiscValues.h"
#include "EngWindow.h"

const unsigned char num_days_in_months[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
char eng_misc_date_and_time_string[64];
char (*eng_misc_sleep_process_messages)() = nullptr;

namespace
{

bool IsLeapYear(EngInt32 year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

tm LocalNow()
{
    time_t now = time(nullptr);
    tm t = {};
    localtime_r(&now, &t);
    return t;
}

bool IsValidDate(const char* func, const EngMiscDate* date)
{
    if (date->month >= 1 && date->month <= 12 && date->day >= 1 && date->day <= 31)
        return true;
    DebugErrorAlt(func, "Invalid date %04d:%02d:%02d", int(date->year), int(date->month),
                  int(date->day));
    return false;
}

} // namespace

void EngMiscGetTodaysDate(EngMiscDate* date)
{
    if (!date)
        return;
    tm t = LocalNow();
    date->year = t.tm_year + 1900;
    date->month = char(t.tm_mon + 1);
    date->day = char(t.tm_mday);
}

int EngMiscGetTodaysDayOfYear()
{
    return LocalNow().tm_yday + 1;
}

void EngMiscGetCurrentTime(int* hour, int* minute, int* second)
{
    tm t = LocalNow();
    if (hour)
        *hour = t.tm_hour;
    if (minute)
        *minute = t.tm_min;
    if (second)
        *second = t.tm_sec > 59 ? 59 : t.tm_sec;
}

void EngMiscGetCurrentTime(_EngMiscTime* t)
{
    if (!t)
        return;
    int h, m, s;
    EngMiscGetCurrentTime(&h, &m, &s);
    t->hour = h;
    t->minute = char(m);
    t->second = char(s);
}

void EngMiscGetCurrentDateAndTime(EngMiscDateAndTime* dt)
{
    if (!dt)
        return;
    // One reading, so that date and time agree around midnight.
    tm t = LocalNow();
    dt->date.year = t.tm_year + 1900;
    dt->date.month = char(t.tm_mon + 1);
    dt->date.day = char(t.tm_mday);
    dt->hour = t.tm_hour;
    dt->minute = char(t.tm_min);
    dt->second = char(t.tm_sec > 59 ? 59 : t.tm_sec);
}

const char* EngMiscGetCurrentDateAsString()
{
    EngMiscDate d;
    EngMiscGetTodaysDate(&d);
    snprintf(eng_misc_date_and_time_string, sizeof(eng_misc_date_and_time_string), "%d/%d/%04d", int(d.day),
             int(d.month), int(d.year));
    return eng_misc_date_and_time_string;
}

const char* EngMiscGetCurrentDateAndTimeAsString(char with_seconds)
{
    EngMiscDateAndTime dt;
    EngMiscGetCurrentDateAndTime(&dt);
    if (with_seconds)
        snprintf(eng_misc_date_and_time_string, sizeof(eng_misc_date_and_time_string), "%d/%d/%04d %d:%02d:%02d",
                 int(dt.date.day), int(dt.date.month), int(dt.date.year), int(dt.hour), int(dt.minute),
                 int(dt.second));
    else
        snprintf(eng_misc_date_and_time_string, sizeof(eng_misc_date_and_time_string), "%d/%d/%04d %d:%02d",
                 int(dt.date.day), int(dt.date.month), int(dt.date.year), int(dt.hour), int(dt.minute));
    return eng_misc_date_and_time_string;
}

const char* EngMiscGetCurrentTimeAsString(char with_seconds)
{
    int h, m, s;
    EngMiscGetCurrentTime(&h, &m, &s);
    if (with_seconds)
        snprintf(eng_misc_date_and_time_string, sizeof(eng_misc_date_and_time_string), "%d:%02d:%02d", h, m, s);
    else
        snprintf(eng_misc_date_and_time_string, sizeof(eng_misc_date_and_time_string), "%d:%02d", h, m);
    return eng_misc_date_and_time_string;
}

void EngMiscGetTimeStringFromSeconds(EngUInt32 seconds, char with_seconds, char* out, int size)
{
    if (!out || size < 2)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No out_string.");
        return;
    }
    unsigned h = seconds / 3600, m = (seconds % 3600) / 60, s = seconds % 60;
    if (with_seconds)
        snprintf(out, size_t(size), "%u:%02u:%02u", h, m, s);
    else
        snprintf(out, size_t(size), "%u:%02u", h, m);
}

int EngMiscGetNumberOfDaysInMonth(EngMiscMonth month, EngMiscYear year)
{
    if (month < 1 || month > 12)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid month %d", month);
        return 0;
    }
    if (month == 2 && IsLeapYear(year))
        return 29;
    return num_days_in_months[month - 1];
}

int EngMiscGetNumberOfDaysInMonth(const EngMiscDate* date)
{
    if (!date)
        return 0;
    return EngMiscGetNumberOfDaysInMonth(date->month, date->year);
}

int EngMiscGetNumberOfDaysInThisMonth()
{
    EngMiscDate d;
    EngMiscGetTodaysDate(&d);
    return EngMiscGetNumberOfDaysInMonth(&d);
}

int EngMiscGetDayOfYearForDate(const EngMiscDate* date)
{
    if (!date)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No date.");
        return 0;
    }
    if (date->month < 1 || date->month > 12)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid month %d.", int(date->month));
        return 0;
    }
    int days = 0;
    for (int m = 1; m < date->month; m++)
        days += EngMiscGetNumberOfDaysInMonth(m, date->year);
    return days + date->day;
}

int EngMiscGetWeekNumberForDate(const EngMiscDate* date)
{
    if (!date)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No date.");
        return 0;
    }
    int week = EngMiscGetDayOfYearForDate(date) / 7 + 1;
    return week > 52 ? 52 : week;
}

void EngMiscGetNextDay(EngMiscDate* date)
{
    if (!date || !IsValidDate(__PRETTY_FUNCTION__, date))
        return;
    int n = EngMiscGetNumberOfDaysInMonth(date);
    if (date->day < n)
    {
        date->day++;
        return;
    }
    date->day = 1;
    if (date->month == 12)
    {
        date->month = 1;
        date->year++;
    }
    else
        date->month++;
}

void EngMiscGetPreviousDay(EngMiscDate* date)
{
    if (!date || !IsValidDate(__PRETTY_FUNCTION__, date))
        return;
    if (date->day >= 2)
    {
        date->day--;
        return;
    }
    if (date->month == 1)
    {
        date->month = 12;
        date->day = 31;
        date->year--;
        return;
    }
    date->month--;
    date->day = char(EngMiscGetNumberOfDaysInMonth(date));
}

void EngMiscGetNextHour(EngMiscDateAndTime* dt)
{
    if (!dt)
        return;
    if (dt->hour > 22)
    {
        dt->hour = 0;
        EngMiscGetNextDay(&dt->date);
    }
    else
        dt->hour++;
}

void EngMiscGetPreviousHour(EngMiscDateAndTime* dt)
{
    if (!dt)
        return;
    if (dt->hour < 1)
    {
        dt->hour = 23;
        EngMiscGetPreviousDay(&dt->date);
    }
    else
        dt->hour--;
}

bool EngMiscDateAreDatesTheSame(EngMiscDate a, EngMiscDate b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

bool EngMiscDateIsDateEarlierThanDate(EngMiscDate a, EngMiscDate b)
{
    if (a.year != b.year)
        return a.year < b.year;
    if (a.month != b.month)
        return a.month < b.month;
    return a.day < b.day;
}

bool EngMiscDateIsDateLaterThanDate(EngMiscDate a, EngMiscDate b)
{
    return EngMiscDateIsDateEarlierThanDate(b, a);
}

void EngMiscCopyDate(EngMiscDate* dst, EngMiscDate src)
{
    if (dst)
        *dst = src;
}

int EngMiscGetMinutesFromDateAndTime(EngMiscDateAndTime* dt)
{
    if (!dt)
        return 0;
    long long key = dt->minute + 60LL * dt->hour + 1440LL * dt->date.day + 46080LL * dt->date.month +
                    599040LL * dt->date.year;
    // Past year 3584 the key no longer fits: it stays at the top instead of wrapping.
    if (key > INT_MAX)
        return INT_MAX;
    if (key < INT_MIN)
        return INT_MIN;
    return int(key);
}

namespace
{
// Reads text as "%d-%d-%d %d:%d:%d" reads it, the parts that are missing left
// as they are; false when a number does not fit an int.
bool ReadDateFields(const char* text, std::initializer_list<int*> fields)
{
    static const char separators[] = "--\0::";
    const char* p = text;
    int i = 0;
    for (int* field : fields)
    {
        if (i > 0)
        {
            char sep = separators[i - 1];
            if (sep == 0)
                while (isspace(static_cast<unsigned char>(*p)))
                    p++;
            else if (*p == sep)
                p++;
            else
                return true;
        }
        i++;
        int v;
        int r = EngMiscReadInt(p, &v, &p);
        if (r < 0)
            return true;
        if (r == 0)
            return false;
        *field = v;
    }
    return true;
}
} // namespace

bool EngMiscSetDateAndTimeStructFromString(const char* text, EngMiscDateAndTime* out)
{
    if (!text || !*text)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No date string.");
        return false;
    }
    if (!out)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters.");
        return false;
    }
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (!ReadDateFields(text, {&y, &mo, &d, &h, &mi, &s}) || y < 1900 || mo < 1 || mo > 12 || d < 1 ||
        d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid date in string: %s.", text);
        return false;
    }
    out->date.year = y;
    out->date.month = char(mo);
    out->date.day = char(d);
    out->hour = h;
    out->minute = char(mi);
    out->second = char(s);
    return true;
}

namespace
{

// The waits of the two sleeps; with pump set, window events are handled
// between the 10 ms steps.
bool SleepLoop(double seconds, bool pump)
{
    if (!(seconds > 0))
        return true;
    double end = EngMainUpdateCurrentTime() + seconds;
    while (eng_main_current_time < end)
    {
        if (pump && eng_main_window && eng_misc_sleep_process_messages && eng_misc_sleep_process_messages() < 0)
            return false;
        double left = end - eng_main_current_time;
        EngMiscCallPlatformSleepFunc(left < 0.01 ? left : 0.01);
        EngMainUpdateCurrentTime();
    }
    return true;
}

} // namespace

bool EngMiscSleep(double seconds)
{
    return SleepLoop(seconds, true);
}

void EngMiscSleepWithHang(double seconds)
{
    SleepLoop(seconds, false);
}

int EngMiscCallPlatformSleepFunc(double seconds)
{
    if (!(seconds > 0))
        return 0;
    double us = seconds * 1000000.0;
    if (us > 4294967295.0)
        us = 4294967295.0;
    unsigned long long total = static_cast<unsigned long long>(us);
    timespec req;
    req.tv_sec = time_t(total / 1000000ULL);
    req.tv_nsec = long(total % 1000000ULL) * 1000L;
    timespec rem;
    while (nanosleep(&req, &rem) != 0)
    {
        if (errno != EINTR)
            return -1;
        req = rem;
    }
    return 0;
}

bool EngMiscGetProgramsMemoryUsageMB(float* out)
{
    FILE* f = fopen("/proc/self/statm", "r");
    if (!f)
        return false;
    unsigned long size = 0, resident = 0;
    int n = fscanf(f, "%lu %lu", &size, &resident);
    fclose(f);
    if (n != 2)
        return false;
    if (out)
        *out = float(double(resident) * double(sysconf(_SC_PAGESIZE)) / 1048576.0);
    return true;
}
