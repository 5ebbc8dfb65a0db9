#include "java_util_TimeZone.h"

#include "VMSynchronized.h"
#include "VMThrow.h"
#include "com_ravelstone_brume_cldc_util_TimeZonePimpl.h"
#include "com_ravelstone_brume_cldc_util_TimeZoneUTC.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_String.h"

VM_REGISTER_CLASS(java::util::TimeZone, "java.util.TimeZone", "java.lang.Object", VM_ABSTRACT);

namespace java::util {

using com::ravelstone::brume::cldc::util::TimeZonePimpl;
using com::ravelstone::brume::cldc::util::TimeZoneUTC;
using java::lang::String;

VMPtr<TimeZone> TimeZone::_VM_init() {
  Object::_VM_init();
  return VMPtr<TimeZone>(this);
}

VMPtr<String> TimeZone::getID() { return VMPtr<String>(); }

VMPtr<TimeZone> TimeZone::getTimeZone(VMPtr<String> ID) {
  VMSynchronized guard(_VM_class);
  if (!ID) _VM_throwNew<java::lang::NullPointerException>();
  TimeZonePimpl::_VM_clinitCheck();
  VMPtr<TimeZone> zone = TimeZonePimpl::lookup(ID);
  if (!zone) {
    int32_t offset = 0;
    bool isUTC = false;
    if (TimeZonePimpl::parseCustomID(ID, offset, isUTC)) {
      // A zone of its own, not added to the known zones.
      VMPtr<TimeZoneUTC> custom = TimeZoneUTC::_VM_new();
      custom->_VM_init(offset, TimeZonePimpl::makeZoneID(isUTC ? "UTC" : "GMT", offset));
      zone = custom;
    }
  }
  if (!zone) zone = TimeZonePimpl::lookup(_VM_intern("GMT"));
  return zone;
}

VMPtr<TimeZone> TimeZone::getDefault() {
  VMSynchronized guard(_VM_class);
  TimeZonePimpl::_VM_clinitCheck();
  return TimeZonePimpl::lookup(VMPtr<String>());
}

}  // namespace java::util
