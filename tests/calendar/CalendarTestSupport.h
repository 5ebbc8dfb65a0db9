#pragma once

// Helpers of the calendar tests: a fixture that starts the VM with a known
// platform zone, calendars in a named zone, conversions of Strings, and the
// reader of the Java reference tables in tests/calendar/data (written by
// tools/javagen/generate-calendar.sh).

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "DeviceProfile.h"
#include "HALEvents.h"
#include "JavaTestSupport.h"
#include "VMRef.h"
#include "VMTestEnv.h"
#include "com_ravelstone_brume_cldc_util_GregorianCalendar.h"
#include "java_lang_String.h"
#include "java_lang_Throwable.h"
#include "java_util_Calendar.h"
#include "java_util_Date.h"
#include "java_util_TimeZone.h"

namespace calendar_test {

using java::lang::String;
using java::util::Calendar;
using java::util::Date;
using java::util::TimeZone;

constexpr int64_t kDay = 86400000;
constexpr int64_t kHour = 3600000;

// Starts the VM with the event registry and the platform zone at `offset`
// ms. The zone registry reads the platform zone on first use, so this runs
// before any calendar is made.
inline void startVM(int32_t offset = 0) {
  DeviceProfile::instance().setZoneOffset(offset);
  VMTestEnv::start();
  HAL_createEventRegistry();
}

class CalendarFixture : public ::testing::Test {
 protected:
  void SetUp() override { startVM(0); }
};

inline VMPtr<String> jstr(const std::string& ascii) { return String::_VM_fromUTF8(ascii.c_str()); }

inline std::string text(const VMPtr<String>& s) {
  if (!s) return "<null>";
  std::string out;
  for (int32_t i = 0; i < s->count; ++i) out += static_cast<char>(s->_VM_chars()[i]);
  return out;
}

inline VMPtr<TimeZone> zoneOf(const std::string& id) { return TimeZone::getTimeZone(jstr(id)); }

// A calendar of the zone with the ID, at the current time.
inline VMPtr<Calendar> calendarIn(const std::string& id) {
  VMPtr<Calendar> c = Calendar::getInstance();
  c->setTimeZone(zoneOf(id));
  return c;
}

// The stored entry of a field, without the recomputation of get.
inline int32_t stored(const VMPtr<Calendar>& c, int32_t field) { return c->fields->at(field); }

// The class name of what `body` throws, or "" when it throws nothing.
template <class F>
std::string thrownClass(F&& body) {
  try {
    body();
  } catch (java::lang::Throwable* t) {
    VMPtr<java::lang::Throwable> held(t);
    return t->_VM_getClass()->_VM_name.c_str();
  }
  return "";
}

// The rows of tests/calendar/data/<name>: tab-separated fields, comments
// skipped.
using Row = std::vector<std::string>;
using java_test::readTable;
using java_test::showRow;

}  // namespace calendar_test
