#pragma once

#include <cstdint>

#include "java_lang_String.h"
#include "java_util_TimeZone.h"

namespace com::ravelstone::brume::cldc::util {

// A zone of a fixed offset from UTC and without daylight time.
class TimeZoneUTC : public java::util::TimeZone {
  VM_CLASS(TimeZoneUTC, java::util::TimeZone)

 public:
  // new TimeZoneUTC(int offset, String ID): `offset` in milliseconds, local
  // time minus UTC.
  VMPtr<TimeZoneUTC> _VM_init(int32_t offset, VMPtr<java::lang::String> ID);

  // rawOffset, whatever the day.
  int32_t getOffset(int32_t era, int32_t year, int32_t month, int32_t day, int32_t dayOfWeek,
                    int32_t millis) override;
  int32_t getRawOffset() override;
  // Always false.
  uint8_t useDaylightTime() override;
  VMPtr<java::lang::String> getID() override;

  void _VM_markReferences(int colour) override;

  VMField<java::lang::String> ID;
  int32_t rawOffset;
};

}  // namespace com::ravelstone::brume::cldc::util
