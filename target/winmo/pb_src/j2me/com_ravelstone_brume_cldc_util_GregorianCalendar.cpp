#include "com_ravelstone_brume_cldc_util_GregorianCalendar.h"

#include <limits>

#include "java_util_TimeZone.h"

VM_REGISTER_CLASS(com::ravelstone::brume::cldc::util::GregorianCalendar,
                  "com.ravelstone.brume.cldc.util.GregorianCalendar", "java.util.Calendar", VM_INSTANTIABLE);

namespace {

constexpr int64_t kMillisPerDay = 86400000;
// Julian day number of 1970-01-01, and of the day of the smallest long.
constexpr int64_t kEpochJulianDay = 2440588;
constexpr int64_t kJulianDayOfLongMin = -106749550580;

// Days before each month, in a common and in a leap year.
constexpr int32_t kDaysBeforeMonth[2][12] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335},
};

// Quotient and remainder rounded towards minus infinity (divisor > 0).
int64_t floorDiv(int64_t dividend, int64_t divisor) {
  return dividend >= 0 ? dividend / divisor : (dividend + 1) / divisor - 1;
}
int64_t floorMod(int64_t dividend, int64_t divisor) { return dividend - floorDiv(dividend, divisor) * divisor; }

// time + offset, held at the ends of the long range instead of wrapping.
int64_t addSaturated(int64_t time, int64_t offset) {
  int64_t sum;
  if (__builtin_add_overflow(time, offset, &sum)) {
    return time >= 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
  }
  return sum;
}

// 1 (Sunday) .. 7 (Saturday) of a Julian day number.
int32_t dayOfWeek(int64_t julianDay) {
  const int64_t r = (julianDay + 1) % 7;
  return static_cast<int32_t>(r < 0 ? r + 8 : r + 1);
}

}  // namespace

namespace com::ravelstone::brume::cldc::util {

using java::util::TimeZone;

VMPtr<GregorianCalendar> GregorianCalendar::_VM_init() {
  Calendar::_VM_init();
  return VMPtr<GregorianCalendar>(this);
}

void GregorianCalendar::timeToFields(int64_t local) {
  const int64_t days = floorDiv(local, kMillisPerDay);
  int64_t rawYear;
  int64_t dayOfYear;  // zero-based
  bool leap;
  if (local >= kGregorianSwitch) {
    // Cycles of 400, 100, 4 and 1 years from 1 January of year 1.
    int64_t rest = days + 719162;
    const int64_t q400 = floorDiv(rest, 146097);
    rest -= q400 * 146097;
    const int64_t q100 = rest / 36524;
    rest %= 36524;
    const int64_t q4 = rest / 1461;
    rest %= 1461;
    const int64_t q1 = rest / 365;
    rest %= 365;
    rawYear = 400 * q400 + 100 * q100 + 4 * q4 + q1;
    if (q100 == 4 || q1 == 4) {
      dayOfYear = 365;  // 31 December of a leap year that ends a cycle
    } else {
      rawYear += 1;
      dayOfYear = rest;
    }
    leap = rawYear % 4 == 0 && (rawYear % 100 != 0 || rawYear % 400 == 0);
  } else {
    rawYear = floorDiv(4 * (days + 719530), 1461);
    dayOfYear = days + 719164 - 365 * (rawYear - 1) - floorDiv(rawYear - 1, 4);
    leap = rawYear % 4 == 0;
  }

  VMArray<int32_t>* f = fields.get();
  const int64_t dow = (days + 719163) % 7;
  f->at(DAY_OF_WEEK) = static_cast<int32_t>(dow < 0 ? dow + 8 : dow + 1);

  const int64_t march1 = leap ? 60 : 59;
  const int64_t correction = dayOfYear < march1 ? 0 : (leap ? 1 : 2);
  const int32_t month = static_cast<int32_t>((12 * (dayOfYear + correction) + 6) / 367);
  f->at(DATE) = static_cast<int32_t>(dayOfYear - kDaysBeforeMonth[leap ? 1 : 0][month] + 1);
  if (rawYear < 1) {
    f->at(ERA) = 0;
    f->at(YEAR) = static_cast<int32_t>(1 - rawYear);
  } else {
    f->at(ERA) = 1;
    f->at(YEAR) = static_cast<int32_t>(rawYear);
  }
  f->at(MONTH) = month;
}

void GregorianCalendar::computeFields() {
  VMPtr<TimeZone> z(zone);
  const int32_t raw = z->getRawOffset();
  const int64_t local = addSaturated(time, raw);
  timeToFields(local);

  VMArray<int32_t>* f = fields.get();
  int64_t inDay = floorMod(local, kMillisPerDay);
  const int64_t dst = static_cast<int64_t>(z->getOffset(f->at(ERA), f->at(YEAR), f->at(MONTH), f->at(DATE),
                                                        f->at(DAY_OF_WEEK), static_cast<int32_t>(inDay))) -
                      raw;
  inDay += dst;
  if (inDay > kMillisPerDay - 1) {
    inDay -= kMillisPerDay;
    timeToFields(addSaturated(local, dst));
  }

  f->at(MILLISECOND) = static_cast<int32_t>(inDay % 1000);
  f->at(SECOND) = static_cast<int32_t>((inDay / 1000) % 60);
  const int64_t minutes = inDay / 60000;
  f->at(MINUTE) = static_cast<int32_t>(minutes % 60);
  const int32_t hours = static_cast<int32_t>(minutes / 60);
  f->at(HOUR_OF_DAY) = hours;
  f->at(AM_PM) = hours / 12;
  f->at(HOUR) = hours % 12;
}

int64_t GregorianCalendar::julianDay(bool gregorian, int64_t year) {
  VMArray<int32_t>* f = fields.get();
  int64_t month = f->at(MONTH);
  if (month < 0 || month > 11) {
    year += floorDiv(month, 12);
    month = floorMod(month, 12);
  }
  const int64_t y1 = year - 1;
  int64_t jd = 365 * y1 + floorDiv(y1, 4) + 1721423;
  bool leap = year % 4 == 0;
  if (gregorian) {
    leap = leap && (year % 100 != 0 || year % 400 == 0);
    jd += floorDiv(y1, 400) - floorDiv(y1, 100) + 2;
  }
  return jd + kDaysBeforeMonth[leap ? 1 : 0][month] + f->at(DATE);
}

void GregorianCalendar::computeTime() {
  VMArray<int32_t>* f = fields.get();
  VMArray<uint8_t>* marked = isSet.get();

  // The hour of the day from whichever hour field was set.
  if (marked->at(HOUR_OF_DAY)) {
    f->at(HOUR_OF_DAY) = f->at(HOUR_OF_DAY) % 24;
    f->at(AM_PM) = f->at(HOUR_OF_DAY) < 12 ? AM : PM;
    marked->at(HOUR_OF_DAY) = 0;
  } else {
    if (marked->at(AM_PM)) {
      if (f->at(AM_PM) != AM && f->at(AM_PM) != PM) f->at(AM_PM) = f->at(HOUR_OF_DAY) > 11 ? PM : AM;
      marked->at(AM_PM) = 0;
    }
    if (marked->at(HOUR)) {
      const int32_t h = f->at(HOUR);
      if (h < 13) {
        f->at(HOUR_OF_DAY) = f->at(AM_PM) == PM ? h + 12 : h;
      } else {
        f->at(HOUR_OF_DAY) = h % 12 + 12;
        f->at(HOUR) = h % 12;
        f->at(AM_PM) = PM;
      }
      marked->at(HOUR) = 0;
    }
  }

  // Years counted from 1 AD, with 0 for 1 BC, -1 for 2 BC and so on.
  int64_t year = f->at(YEAR);
  if (f->at(ERA) == 0) year = 1 - year;
  const bool gregorian = year >= 1582;
  int64_t jd = julianDay(gregorian, year);
  int64_t millis = (jd - kEpochJulianDay) * kMillisPerDay;
  // A date near the switch may lie on the other side of it. The day of the
  // smallest long is the one day of the long range whose product wraps (the
  // time of day brings it back into range); its sign says nothing.
  if (gregorian != (millis >= kGregorianSwitch) && jd != kJulianDayOfLongMin) {
    jd = julianDay(!gregorian, year);
    millis = (jd - kEpochJulianDay) * kMillisPerDay;
  }

  // In 64 bits, so that large lenient values move the time correctly.
  const int64_t inDay =
      ((static_cast<int64_t>(f->at(HOUR_OF_DAY)) * 60 + f->at(MINUTE)) * 60 + f->at(SECOND)) * 1000 +
      f->at(MILLISECOND);
  millis += inDay;

  const int64_t rem = floorMod(millis, kMillisPerDay);
  VMPtr<TimeZone> z(zone);
  time = millis - z->getOffset(f->at(ERA), f->at(YEAR), f->at(MONTH), f->at(DATE), dayOfWeek(jd),
                               static_cast<int32_t>(rem));
}

}  // namespace com::ravelstone::brume::cldc::util
