#include "HALClock.h"

#include <limits>
#include <mutex>

#include "DeviceProfile.h"

namespace {

// Quotient of a / b rounded towards minus infinity (b > 0).
int64_t floorDivide(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

bool isLeapYear(int32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// The anchor of the current time: wall-clock milliseconds minus the tick
// count when it was taken, and the last time handed out.
struct ClockAnchor {
  std::mutex mutex;
  bool anchored = false;
  int64_t base = 0;
  int64_t last = std::numeric_limits<int64_t>::min();
};

ClockAnchor& anchor() {
  // Never destroyed: threads still running at process exit may read the time.
  static ClockAnchor* const instance = new ClockAnchor();
  return *instance;
}

}  // namespace

int64_t HAL_daysBeforeMonth(int32_t month, int32_t year) {
  static constexpr int32_t kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int64_t days = 0;
  for (int32_t m = 1; m < month && m <= 12; ++m) {
    days += kMonthDays[m - 1];
    if (m == 2 && isLeapYear(year)) ++days;
  }
  return days;
}

int64_t HAL_leapDaysThrough(int32_t year) {
  return floorDivide(year, 4) - floorDivide(year, 100) + floorDivide(year, 400);
}

int64_t HAL_daysBeforeYear(int32_t year) {
  return 365 * (static_cast<int64_t>(year) - 1970) + HAL_leapDaysThrough(year - 1) - HAL_leapDaysThrough(1969);
}

int64_t HAL_getWallClockMillis() {
  const DeviceProfile::DateTime t = DeviceProfile::instance().wallClock();
  const int64_t days = (t.day - 1) + HAL_daysBeforeMonth(t.month, t.year) + HAL_daysBeforeYear(t.year);
  return (((days * 24 + t.hour) * 60 + t.minute) * 60 + t.second) * 1000;
}

int64_t HAL_getCurrentTimeMillis() {
  const int64_t tick = static_cast<int64_t>(DeviceProfile::instance().tickMillis());
  ClockAnchor& clock = anchor();
  std::lock_guard<std::mutex> lock(clock.mutex);
  if (!clock.anchored) {
    clock.base = HAL_getWallClockMillis() - tick;
    clock.anchored = true;
  }
  // A tick read before a concurrent caller's later one, or a counter that
  // went back, must not take the time back.
  const int64_t now = clock.base + tick;
  if (now > clock.last) clock.last = now;
  return clock.last;
}

int32_t HAL_getTimeZoneOffset() {
  return DeviceProfile::instance().zoneOffsetMillis(floorDivide(HAL_getWallClockMillis(), 1000));
}
