// Dates, times, sleeping and memory use.
#pragma once

#include "EngTypes.h"

typedef int EngMiscMonth;
typedef EngInt32 EngMiscYear;

struct _EngMiscDate
{
    EngInt32 year;
    char month; // 1..12
    char day;   // 1..31
};
typedef _EngMiscDate EngMiscDate;

struct _EngMiscTime
{
    EngInt32 hour;
    char minute;
    char second;
};
typedef _EngMiscTime EngMiscTime;

struct _EngMiscDateAndTime
{
    _EngMiscDate date;
    EngInt32 hour;
    char minute;
    char second;
};
typedef _EngMiscDateAndTime EngMiscDateAndTime;

extern const unsigned char num_days_in_months[12];
// The one result buffer of the text forms; each call overwrites it.
extern char eng_misc_date_and_time_string[64];

// Current local date and time.
void EngMiscGetTodaysDate(EngMiscDate* date);
int EngMiscGetTodaysDayOfYear();
void EngMiscGetCurrentTime(int* hour, int* minute, int* second);
void EngMiscGetCurrentTime(_EngMiscTime* t);
void EngMiscGetCurrentDateAndTime(EngMiscDateAndTime* dt);
const char* EngMiscGetCurrentDateAsString();
const char* EngMiscGetCurrentDateAndTimeAsString(char with_seconds);
const char* EngMiscGetCurrentTimeAsString(char with_seconds);
void EngMiscGetTimeStringFromSeconds(EngUInt32 seconds, char with_seconds, char* out, int size);

// Calendar arithmetic (Gregorian leap years).
int EngMiscGetNumberOfDaysInMonth(EngMiscMonth month, EngMiscYear year);
int EngMiscGetNumberOfDaysInMonth(const EngMiscDate* date);
int EngMiscGetNumberOfDaysInThisMonth();
int EngMiscGetDayOfYearForDate(const EngMiscDate* date);
int EngMiscGetWeekNumberForDate(const EngMiscDate* date);
void EngMiscGetNextDay(EngMiscDate* date);
void EngMiscGetPreviousDay(EngMiscDate* date);
void EngMiscGetNextHour(EngMiscDateAndTime* dt);
void EngMiscGetPreviousHour(EngMiscDateAndTime* dt);
bool EngMiscDateAreDatesTheSame(EngMiscDate a, EngMiscDate b);
bool EngMiscDateIsDateEarlierThanDate(EngMiscDate a, EngMiscDate b);
bool EngMiscDateIsDateLaterThanDate(EngMiscDate a, EngMiscDate b);
void EngMiscCopyDate(EngMiscDate* dst, EngMiscDate src);
// An ordering key, not a true minute count (months of 32 days, years of 13 months).
int EngMiscGetMinutesFromDateAndTime(EngMiscDateAndTime* dt);
// Parses "Y-M-D h:m:s"; missing parts count as 0.
bool EngMiscSetDateAndTimeStructFromString(const char* text, EngMiscDateAndTime* out);

// Waits while letting the window handle its events; false when the program is to quit.
bool EngMiscSleep(double seconds);
// Waits without handling events.
void EngMiscSleepWithHang(double seconds);
int EngMiscCallPlatformSleepFunc(double seconds);

// Set by the window layer once a main window exists: handles pending window
// events, answering below 0 when the program is to quit. Null until then.
extern char (*eng_misc_sleep_process_messages)();

// The program's resident memory in MB; false when it cannot be read.
bool EngMiscGetProgramsMemoryUsageMB(float* out);
