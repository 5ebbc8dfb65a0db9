#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"

namespace java::util {

class Date;
class TimeZone;

// A point in time (milliseconds since 1970-01-01 00:00 UTC) with its
// calendar fields in a time zone. The two are kept consistent lazily: set
// invalidates the time, getTimeInMillis recomputes it from the fields, and
// setTimeInMillis, setTimeZone and get of DAY_OF_WEEK, AM_PM, HOUR and
// HOUR_OF_DAY recompute the fields. Other fields are read as stored.
class Calendar : public virtual java::lang::Object {
  VM_CLASS(Calendar, java::lang::Object)

 public:
  // Field numbers (indices of `fields` and `isSet`).
  static constexpr int32_t ERA = 0;  // 0 BC, 1 AD
  static constexpr int32_t YEAR = 1;
  static constexpr int32_t MONTH = 2;
  static constexpr int32_t DATE = 5;
  static constexpr int32_t DAY_OF_MONTH = 5;
  static constexpr int32_t DAY_OF_WEEK = 7;
  static constexpr int32_t AM_PM = 9;
  static constexpr int32_t HOUR = 10;
  static constexpr int32_t HOUR_OF_DAY = 11;
  static constexpr int32_t MINUTE = 12;
  static constexpr int32_t SECOND = 13;
  static constexpr int32_t MILLISECOND = 14;
  static constexpr int32_t FIELD_COUNT = 15;
  // The entries that no field number names: get and set reach them, but
  // nothing computes them.
  static constexpr int32_t kUnnamedFields[] = {3, 4, 6, 8};

  static constexpr int32_t SUNDAY = 1;
  static constexpr int32_t MONDAY = 2;
  static constexpr int32_t TUESDAY = 3;
  static constexpr int32_t WEDNESDAY = 4;
  static constexpr int32_t THURSDAY = 5;
  static constexpr int32_t FRIDAY = 6;
  static constexpr int32_t SATURDAY = 7;

  static constexpr int32_t JANUARY = 0;
  static constexpr int32_t FEBRUARY = 1;
  static constexpr int32_t MARCH = 2;
  static constexpr int32_t APRIL = 3;
  static constexpr int32_t MAY = 4;
  static constexpr int32_t JUNE = 5;
  static constexpr int32_t JULY = 6;
  static constexpr int32_t AUGUST = 7;
  static constexpr int32_t SEPTEMBER = 8;
  static constexpr int32_t OCTOBER = 9;
  static constexpr int32_t NOVEMBER = 10;
  static constexpr int32_t DECEMBER = 11;

  static constexpr int32_t AM = 0;
  static constexpr int32_t PM = 1;

  // Calendar(): the default zone and the current time. Without a default
  // zone: RuntimeException "Could not find default timezone.".
  VMPtr<Calendar> _VM_init();

  // A new calendar of the default zone at the current time.
  static VMPtr<Calendar> getInstance();

  // The time, first recomputed from the fields when a field was set.
  virtual int64_t getTimeInMillis();
  // Sets the time and recomputes the fields.
  virtual void setTimeInMillis(int64_t millis);
  // Fields from time and zone.
  virtual void computeFields() = 0;
  // Time from the fields and zone.
  virtual void computeTime() = 0;

  // The field's value; DAY_OF_WEEK, AM_PM, HOUR and HOUR_OF_DAY are first
  // recomputed from the time (which is first recomputed from the fields).
  // A field number outside 0..14 throws ArrayIndexOutOfBoundsException.
  int32_t get(int32_t field);
  // Stores the value and marks the time for recomputation; a field number
  // outside 0..14 throws ArrayIndexOutOfBoundsException and changes nothing.
  void set(int32_t field, int32_t value);
  // Changes the zone: a valid time stays and the fields follow the new
  // zone; after a set the fields are first read as local time of the new
  // zone. A null zone throws NullPointerException and changes nothing.
  void setTimeZone(VMPtr<TimeZone> value);
  // The calendar's Date, the same object on every call, set to the time.
  VMPtr<Date> getTime();

  // True for a calendar of the same time and the same zone object.
  uint8_t equals(VMPtr<java::lang::Object> other) override;
  void _VM_markReferences(int colour) override;

  VMField<VMArray<int32_t>> fields;
  VMField<VMArray<uint8_t>> isSet;
  int64_t time;
  uint8_t isTimeSet;  // time agrees with the fields
  VMField<TimeZone> zone;
  VMField<Date> cachedDate;  // null until the first getTime

 private:
  static void checkField(int32_t field);
};

}  // namespace java::util
