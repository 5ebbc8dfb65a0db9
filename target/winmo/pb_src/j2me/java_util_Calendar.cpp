#include "java_util_Calendar.h"

#include "HALClock.h"
#include "VMClassRegistry.h"
#include "VMJava.h"
#include "VMSynchronized.h"
#include "VMThrow.h"
#include "com_ravelstone_brume_cldc_util_GregorianCalendar.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_RuntimeException.h"
#include "java_util_Date.h"
#include "java_util_TimeZone.h"

VM_REGISTER_CLASS(java::util::Calendar, "java.util.Calendar", "java.lang.Object", VM_ABSTRACT);

namespace java::util {

VMPtr<Calendar> Calendar::_VM_init() {
  Object::_VM_init();
  fields = VMArray<int32_t>::create(FIELD_COUNT);
  isSet = VMArray<uint8_t>::create(FIELD_COUNT);
  zone = TimeZone::getDefault();
  if (!zone) _VM_throwNew<java::lang::RuntimeException>("Could not find default timezone.");
  // The clock counts UTC; computeFields adds the zone's offset.
  setTimeInMillis(HAL_getCurrentTimeMillis());
  return VMPtr<Calendar>(this);
}

VMPtr<Calendar> Calendar::getInstance() {
  VMPtr<com::ravelstone::brume::cldc::util::GregorianCalendar> calendar =
      com::ravelstone::brume::cldc::util::GregorianCalendar::_VM_new();
  calendar->_VM_init();
  return calendar;
}

int64_t Calendar::getTimeInMillis() {
  if (!isTimeSet) {
    computeTime();
    isTimeSet = 1;
  }
  return time;
}

void Calendar::setTimeInMillis(int64_t millis) {
  isTimeSet = 1;
  time = millis;
  computeFields();
}

void Calendar::checkField(int32_t field) {
  if (field < 0 || field >= FIELD_COUNT) _VM_throwArrayIndexOutOfBounds(field);
}

int32_t Calendar::get(int32_t field) {
  checkField(field);
  if (field == DAY_OF_WEEK || field == AM_PM || field == HOUR || field == HOUR_OF_DAY) {
    getTimeInMillis();
    computeFields();
  }
  return fields->at(field);
}

void Calendar::set(int32_t field, int32_t value) {
  checkField(field);
  isTimeSet = 0;
  isSet->at(field) = 1;
  fields->at(field) = value;
}

void Calendar::setTimeZone(VMPtr<TimeZone> value) {
  // Checked first, so that a calendar never holds a null zone.
  if (!value) _VM_throwNew<java::lang::NullPointerException>();
  zone = value;
  getTimeInMillis();
  computeFields();
}

VMPtr<Date> Calendar::getTime() {
  if (!cachedDate) {
    VMPtr<Date> date = Date::_VM_new();
    date->_VM_init(getTimeInMillis());
    cachedDate = date;
  } else {
    VMPtr<Date> date(cachedDate);
    VMSynchronized guard(date);
    date->setTime(getTimeInMillis());
  }
  return VMPtr<Date>(cachedDate);
}

uint8_t Calendar::equals(VMPtr<java::lang::Object> other) {
  if (other.get() == static_cast<java::lang::Object*>(this)) return 1;
  if (!other || !_VM_instanceOf(other.get(), _VM_class)) return 0;
  VMPtr<Calendar> that = _VM_cast<Calendar>(other);
  if (getTimeInMillis() != that->getTimeInMillis()) return 0;
  VMPtr<TimeZone> ownZone(zone);
  return ownZone->equals(VMPtr<java::lang::Object>(that->zone));
}

void Calendar::_VM_markReferences(int colour) {
  _VM_markFields(colour, fields, isSet, zone, cachedDate);
  Object::_VM_markReferences(colour);
}

}  // namespace java::util
