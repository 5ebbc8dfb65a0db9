#pragma once

#include <cstdint>

#include "VMClassKit.h"

namespace java::lang {
class String;
}

namespace java::util {

class Calendar;

// A point in time in milliseconds since 1970-01-01 00:00 UTC, held by a
// calendar of the default zone.
class Date : public virtual java::lang::Object {
  VM_CLASS(Date, java::lang::Object)

 public:
  // Date(): the current time.
  VMPtr<Date> _VM_init();
  // Date(long millis)
  VMPtr<Date> _VM_init(int64_t millis);

  virtual int64_t getTime();
  virtual void setTime(int64_t millis);

  // The low 32 bits of the time XOR its high 32 bits.
  int32_t hashCode() override;
  // True for a Date of the same time.
  uint8_t equals(VMPtr<java::lang::Object> other) override;
  // "Thu Jan 01 00:00:00 UTC+00:00 1970": day, month, day of the month,
  // time, the zone's ID (left out with its blank when the zone has none)
  // and the year of the era with at least four digits, in the default zone
  // of the date's calendar.
  VMPtr<java::lang::String> toString() override;

  void _VM_markReferences(int colour) override;

  VMField<Calendar> calendar;
};

}  // namespace java::util
