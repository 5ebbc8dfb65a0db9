#pragma once

#include <cstdint>

// The platform's clock and time zone. The device's wall clock and tick
// counter and its zone come from the device profile (DeviceProfile).
//
// The wall clock counts UTC, so HAL_getCurrentTimeMillis is epoch time and a
// local time is that plus HAL_getTimeZoneOffset.

// The wall clock as milliseconds since 1970-01-01 00:00 UTC, in whole
// seconds (the clock's milliseconds are not read).
int64_t HAL_getWallClockMillis();

// The current time in milliseconds since 1970-01-01 00:00 UTC. The first
// call anchors the tick counter to the wall clock; from then on the time
// moves with the tick counter only, so later changes of the wall clock are
// not seen. The counter is 64 bits wide and does not wrap, and the result
// never moves back, even if the counter does. Safe to call from any thread.
int64_t HAL_getCurrentTimeMillis();

// Local time minus UTC in milliseconds, for the wall clock's current instant
// (so it follows daylight saving time).
int32_t HAL_getTimeZoneOffset();

// Days of the months 1 .. month - 1 of `year` (February has 29 days in a
// leap year). A month of 1 or less gives 0; a month above 12 counts the
// whole year.
int64_t HAL_daysBeforeMonth(int32_t month, int32_t year);
// The number of leap years of the Gregorian calendar from year 1 through
// `year`: year / 4 - year / 100 + year / 400, with the quotients rounded
// down (so it stays right for years before 1 too).
int64_t HAL_leapDaysThrough(int32_t year);
// Days from 1970-01-01 to January 1 of `year`; negative before 1970.
int64_t HAL_daysBeforeYear(int32_t year);
