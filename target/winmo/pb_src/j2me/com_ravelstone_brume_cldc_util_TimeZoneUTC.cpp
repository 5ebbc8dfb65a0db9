#include "com_ravelstone_brume_cldc_util_TimeZoneUTC.h"

VM_REGISTER_CLASS(com::ravelstone::brume::cldc::util::TimeZoneUTC, "com.ravelstone.brume.cldc.util.TimeZoneUTC",
                  "java.util.TimeZone", 0);

namespace com::ravelstone::brume::cldc::util {

VMPtr<TimeZoneUTC> TimeZoneUTC::_VM_init(int32_t offset, VMPtr<java::lang::String> ID) {
  TimeZone::_VM_init();
  this->ID = ID;
  rawOffset = offset;
  return VMPtr<TimeZoneUTC>(this);
}

int32_t TimeZoneUTC::getOffset(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) { return rawOffset; }

int32_t TimeZoneUTC::getRawOffset() { return rawOffset; }

uint8_t TimeZoneUTC::useDaylightTime() { return 0; }

VMPtr<java::lang::String> TimeZoneUTC::getID() { return VMPtr<java::lang::String>(ID); }

void TimeZoneUTC::_VM_markReferences(int colour) {
  _VM_mark(ID, colour);
  TimeZone::_VM_markReferences(colour);
}

}  // namespace com::ravelstone::brume::cldc::util
