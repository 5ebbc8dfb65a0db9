// Calendar's lazy fields, field number checks, getTime, equals, setTimeZone
// and the current time.

#include <limits>

#include "CalendarTestSupport.h"
#include "DeviceProfile.h"
#include "VMClassRegistry.h"
#include "java_lang_RuntimeException.h"

namespace calendar_test {
namespace {

using CalendarTest = CalendarFixture;

// set stores without recomputing; YEAR reads back as set, DAY_OF_WEEK
// recomputes the time from the set fields and then every field.
TEST_F(CalendarTest, GetIsLazyForDateFieldsAndRecomputesTheOthers) {
  VMPtr<Calendar> c = calendarIn("GMT");
  c->setTimeInMillis(951782400000);  // 2000-02-29, a Tuesday
  c->set(Calendar::YEAR, 2001);
  EXPECT_EQ(2001, c->get(Calendar::YEAR));
  EXPECT_EQ(1, c->get(Calendar::MONTH));
  EXPECT_EQ(29, c->get(Calendar::DATE));
  EXPECT_EQ(0, c->isTimeSet);
  // 29 February 2001 is 1 March 2001, a Thursday.
  EXPECT_EQ(Calendar::THURSDAY, c->get(Calendar::DAY_OF_WEEK));
  EXPECT_EQ(1, c->isTimeSet);
  EXPECT_EQ(983404800000, c->time);
  EXPECT_EQ(Calendar::MARCH, c->get(Calendar::MONTH));
  EXPECT_EQ(1, c->get(Calendar::DATE));

  // Each of the four time fields recomputes.
  const int32_t recomputing[] = {Calendar::DAY_OF_WEEK, Calendar::AM_PM, Calendar::HOUR, Calendar::HOUR_OF_DAY};
  for (int32_t field : recomputing) {
    c->setTimeInMillis(0);
    c->set(Calendar::MILLISECOND, 13 * 3600000 + 5);  // lenient: 13:00:00.005
    c->get(field);
    EXPECT_EQ(13, stored(c, Calendar::HOUR_OF_DAY)) << field;
    EXPECT_EQ(1, stored(c, Calendar::HOUR)) << field;
    EXPECT_EQ(Calendar::PM, stored(c, Calendar::AM_PM)) << field;
    EXPECT_EQ(5, stored(c, Calendar::MILLISECOND)) << field;
  }
}

TEST_F(CalendarTest, FieldNumbersOutsideTheArrayAreRejected) {
  VMPtr<Calendar> c = calendarIn("GMT");
  c->setTimeInMillis(1000);
  const int32_t bad[] = {-1, 15, 16, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
  for (int32_t field : bad) {
    EXPECT_EQ("java.lang.ArrayIndexOutOfBoundsException", thrownClass([&] { c->get(field); })) << field;
    EXPECT_EQ("java.lang.ArrayIndexOutOfBoundsException", thrownClass([&] { c->set(field, 7); })) << field;
  }
  // A rejected set leaves the calendar as it was.
  EXPECT_EQ(1, c->isTimeSet);
  EXPECT_EQ(1000, c->getTimeInMillis());
  EXPECT_EQ(1, stored(c, Calendar::SECOND));
  // The slots that nothing computes are still fields.
  c->set(3, 42);
  EXPECT_EQ(42, c->get(3));
}

TEST_F(CalendarTest, GetTimeReturnsOneDateThatFollowsTheCalendar) {
  VMPtr<Calendar> c = calendarIn("GMT");
  c->setTimeInMillis(123456789);
  VMPtr<Date> first = c->getTime();
  EXPECT_EQ(123456789, first->getTime());
  c->set(Calendar::YEAR, 1971);
  VMPtr<Date> second = c->getTime();
  EXPECT_EQ(first.get(), second.get());
  EXPECT_EQ(123456789 + 365 * kDay, second->getTime());
}

TEST_F(CalendarTest, EqualsComparesTimeAndZoneObject) {
  VMPtr<Calendar> a = calendarIn("GMT");
  VMPtr<Calendar> b = calendarIn("GMT");
  a->setTimeInMillis(5000);
  b->setTimeInMillis(5000);
  EXPECT_TRUE(a->equals(b));
  EXPECT_TRUE(a->equals(a));
  EXPECT_FALSE(a->equals(VMPtr<java::lang::Object>()));
  EXPECT_FALSE(a->equals(jstr("GMT")));
  // The time is recomputed from set fields before the comparison.
  b->set(Calendar::SECOND, 6);
  EXPECT_FALSE(a->equals(b));
  b->set(Calendar::SECOND, 5);
  EXPECT_TRUE(a->equals(b));
  // "UTC" is another zone object of the same offset.
  b->setTimeZone(zoneOf("UTC"));
  EXPECT_EQ(5000, b->getTimeInMillis());
  EXPECT_FALSE(a->equals(b));
}

// With a valid time the instant stays and the fields follow the new zone;
// after a set the fields are read as local time of the new zone.
TEST_F(CalendarTest, SetTimeZoneKeepsTheInstantOrRereadsSetFields) {
  VMPtr<Calendar> c = calendarIn("GMT");
  c->setTimeInMillis(0);
  c->setTimeZone(zoneOf("GMT+05:30"));
  EXPECT_EQ(0, c->getTimeInMillis());
  EXPECT_EQ(5, stored(c, Calendar::HOUR_OF_DAY));
  EXPECT_EQ(30, stored(c, Calendar::MINUTE));

  c->set(Calendar::HOUR_OF_DAY, 0);  // 1970-01-01 00:30 in +05:30
  VMPtr<TimeZone> minusEight = zoneOf("GMT-08:00");
  c->setTimeZone(minusEight);
  EXPECT_EQ(8 * kHour + 30 * 60000, c->getTimeInMillis());
  EXPECT_EQ(0, stored(c, Calendar::HOUR_OF_DAY));
  EXPECT_EQ(30, stored(c, Calendar::MINUTE));

  // A null zone is refused and the calendar keeps its zone.
  EXPECT_EQ("java.lang.NullPointerException", thrownClass([&] { c->setTimeZone(VMPtr<TimeZone>()); }));
  EXPECT_EQ(minusEight.get(), c->zone.get());
  EXPECT_EQ(8 * kHour + 30 * 60000, c->getTimeInMillis());
  EXPECT_EQ(0, c->get(Calendar::HOUR_OF_DAY));
}

// The wall clock counts UTC and the default zone adds the platform's offset
// once: a clock at 10:15 UTC in a zone of +02:00 reads 12:15.
TEST(CalendarCurrentTime, DefaultZoneAppliesThePlatformOffsetOnce) {
  DeviceProfile& device = DeviceProfile::instance();
  device.setWallClock([] { return DeviceProfile::DateTime{2024, 3, 1, 10, 15, 30}; });
  device.setTickCounter([] { return uint64_t{5000}; });
  startVM(2 * kHour);
  constexpr int64_t kNow = 1709288130000;  // 2024-03-01 10:15:30 UTC

  VMPtr<Calendar> c = Calendar::getInstance();
  EXPECT_EQ(kNow, c->getTimeInMillis());
  EXPECT_EQ(2024, c->get(Calendar::YEAR));
  EXPECT_EQ(Calendar::MARCH, c->get(Calendar::MONTH));
  EXPECT_EQ(1, c->get(Calendar::DATE));
  EXPECT_EQ(12, c->get(Calendar::HOUR_OF_DAY));
  EXPECT_EQ(15, c->get(Calendar::MINUTE));
  EXPECT_EQ(30, c->get(Calendar::SECOND));
  EXPECT_EQ("UTC+02:00", text(c->zone->getID()));

  VMPtr<Date> now = Date::_VM_new();
  now->_VM_init();
  EXPECT_EQ(kNow, now->getTime());
  EXPECT_EQ("Fri Mar 01 12:15:30 UTC+02:00 2024", text(now->toString()));
}

}  // namespace
}  // namespace calendar_test
