#pragma once

#include <cstdint>

#include "VMClassKit.h"

namespace java::lang {
class String;
}

namespace java::util {

// A time zone: the offset of local time from UTC. The zones of this system
// never observe daylight time. Zones are found by ID through getTimeZone;
// the default zone follows the platform's zone offset.
class TimeZone : public virtual java::lang::Object {
  VM_CLASS(TimeZone, java::lang::Object)

 public:
  VMPtr<TimeZone> _VM_init();

  // Local time minus UTC in milliseconds on the given local day: era (0 BC,
  // 1 AD), year of the era, month 0..11, day of the month, day of the week
  // (1 Sunday .. 7 Saturday) and the milliseconds of the day.
  virtual int32_t getOffset(int32_t era, int32_t year, int32_t month, int32_t day, int32_t dayOfWeek,
                            int32_t millis) = 0;
  // The zone's standard offset in milliseconds (local time minus UTC).
  virtual int32_t getRawOffset() = 0;
  virtual uint8_t useDaylightTime() = 0;
  // The zone's ID; null here, the concrete zones name themselves.
  virtual VMPtr<java::lang::String> getID();

  // The zone with the ID ("UTC", "GMT", the default zone's ID) or, for a
  // custom ID such as "GMT+5:30" or "UTC-0800", a new zone of that offset
  // named "GMT+05:30" / "UTC-08:00". Any other ID gives the "GMT" zone,
  // never null; a null ID throws NullPointerException.
  static VMPtr<TimeZone> getTimeZone(VMPtr<java::lang::String> ID);
  // The zone of the platform's offset, named "UTC+hh:mm" / "UTC-hh:mm". A
  // time-zone change event replaces it; calendars that hold the old zone
  // keep it.
  static VMPtr<TimeZone> getDefault();
};

}  // namespace java::util
