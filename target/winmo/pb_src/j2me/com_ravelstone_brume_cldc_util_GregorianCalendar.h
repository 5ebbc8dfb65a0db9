#pragma once

#include <cstdint>

#include "java_util_Calendar.h"

namespace com::ravelstone::brume::cldc::util {

// The calendar of Calendar.getInstance: the Julian calendar before the
// instant -12219292800000 (15 October 1582, local time), the Gregorian
// calendar from then on. Years before 1 AD have ERA 0 and count backwards
// (1 BC is the year before 1 AD).
class GregorianCalendar : public java::util::Calendar {
  VM_CLASS(GregorianCalendar, java::util::Calendar)

 public:
  // The first instant of the Gregorian calendar, in local milliseconds.
  static constexpr int64_t kGregorianSwitch = -12219292800000;

  // GregorianCalendar(): Calendar's constructor.
  VMPtr<GregorianCalendar> _VM_init();

  // Every field but Calendar::kUnnamedFields from time and zone.
  void computeFields() override;
  // The time from ERA, YEAR, MONTH, DATE and the time of day. The hour
  // comes from HOUR_OF_DAY (taken modulo 24) when it was set, else from
  // HOUR and AM_PM when HOUR was set, else from the stored HOUR_OF_DAY.
  // MONTH outside 0..11 moves the year; DATE, MINUTE, SECOND and
  // MILLISECOND may lie outside their ranges and move the time.
  void computeTime() override;

 private:
  // ERA, YEAR, MONTH, DATE and DAY_OF_WEEK of local milliseconds.
  void timeToFields(int64_t local);
  // The Julian day number of the date in YEAR (here `year`, counted from
  // 1 AD with 0 for 1 BC), MONTH and DATE, in the Gregorian or the Julian
  // calendar.
  int64_t julianDay(bool gregorian, int64_t year);
};

}  // namespace com::ravelstone::brume::cldc::util
