#pragma once
// Calendar clock fields and counts of seconds, with the 64-bit time functions
// (the years run past 2038). Fields out of range roll over as the C library's
// time functions roll them.
#include <windows.h>

// The clock of the fields as seconds since 1970 with no zone involved (as if
// UTC); -1 when it cannot be represented.
__int64 ClockToSeconds(int year, int month, int day, int hour, int minute, int second);
// The fields read as local time of the PC, its summer time by the PC's rules;
// -1 when it cannot be represented.
__int64 LocalClockToSeconds(int year, int month, int day, int hour, int minute, int second);
// The clock fields of seconds since 1970 with no zone involved; false (fields
// unchanged) when it cannot be represented.
bool SecondsToClock(__int64 seconds, int& year, int& month, int& day, int& hour, int& minute, int& second);
// The PC's local clock at seconds since 1970; false (fields unchanged) when it
// cannot be represented.
bool LocalSecondsToClock(__int64 seconds, int& year, int& month, int& day, int& hour, int& minute, int& second);
