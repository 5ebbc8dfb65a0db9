#include "java_util_Date.h"

#include "HALClock.h"
#include "VMClassRegistry.h"
#include "VMJava.h"
#include "java_lang_String.h"
#include "java_lang_StringBuffer.h"
#include "java_util_Calendar.h"
#include "java_util_TimeZone.h"

VM_REGISTER_CLASS(java::util::Date, "java.util.Date", "java.lang.Object", VM_INSTANTIABLE);

namespace {

// By DAY_OF_WEEK - 1 and by MONTH.
constexpr const char* kDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

void appendTwoDigits(const VMPtr<java::lang::StringBuffer>& text, int32_t value) {
  if (value < 10) text->append(u'0');
  text->append(value);
}

}  // namespace

namespace java::util {

using java::lang::String;
using java::lang::StringBuffer;

VMPtr<Date> Date::_VM_init() { return _VM_init(HAL_getCurrentTimeMillis()); }

VMPtr<Date> Date::_VM_init(int64_t millis) {
  Object::_VM_init();
  calendar = Calendar::getInstance();
  calendar->setTimeInMillis(millis);
  return VMPtr<Date>(this);
}

int64_t Date::getTime() { return calendar->getTimeInMillis(); }

void Date::setTime(int64_t millis) { calendar->setTimeInMillis(millis); }

int32_t Date::hashCode() {
  const uint64_t t = static_cast<uint64_t>(getTime());
  return static_cast<int32_t>(static_cast<uint32_t>(t) ^ static_cast<uint32_t>(t >> 32));
}

uint8_t Date::equals(VMPtr<java::lang::Object> other) {
  if (!other || !_VM_instanceOf(other.get(), _VM_class)) return 0;
  VMPtr<Date> that = _VM_cast<Date>(other);
  return getTime() == that->getTime();
}

VMPtr<String> Date::toString() {
  VMPtr<Calendar> c(calendar);
  // get(DAY_OF_WEEK) recomputes every field first.
  const int32_t dayOfWeek = c->get(Calendar::DAY_OF_WEEK);
  const int32_t month = c->get(Calendar::MONTH);
  const int32_t day = c->get(Calendar::DATE);
  const int32_t hour = c->get(Calendar::HOUR_OF_DAY);
  const int32_t minute = c->get(Calendar::MINUTE);
  const int32_t second = c->get(Calendar::SECOND);
  const int32_t year = c->get(Calendar::YEAR);

  VMPtr<TimeZone> zone(c->zone);
  VMPtr<String> id = zone->getID();
  const int32_t idLength = id ? id->count : 0;  // a zone without ID prints none
  VMPtr<String> yearText = String::valueOf(year);

  VMPtr<StringBuffer> text = StringBuffer::_VM_new();
  text->_VM_init(idLength + yearText->count + 25);
  text->append(kDayNames[dayOfWeek - 1]);
  text->append(u' ');
  text->append(kMonthNames[month]);
  text->append(u' ');
  appendTwoDigits(text, day);
  text->append(u' ');
  appendTwoDigits(text, hour);
  text->append(u':');
  appendTwoDigits(text, minute);
  text->append(u':');
  appendTwoDigits(text, second);
  text->append(u' ');
  if (idLength > 0) {
    text->append(id);
    text->append(u' ');
  }
  for (int32_t digits = yearText->count; digits < 4; ++digits) text->append(u'0');
  text->append(yearText);
  return text->toString();
}

void Date::_VM_markReferences(int colour) {
  _VM_mark(calendar, colour);
  Object::_VM_markReferences(colour);
}

}  // namespace java::util
