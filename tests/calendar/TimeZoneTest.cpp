// Zone lookup by ID, custom "GMT+hh:mm" IDs, the default zone over the
// platform's offset and the time-zone change event.

#include "CalendarTestSupport.h"
#include "com_ravelstone_brume_cldc_util_TimeZoneUTC.h"

namespace calendar_test {
namespace {

using TimeZoneTest = CalendarFixture;

TEST_F(TimeZoneTest, KnownZonesAreFoundByExactId) {
  VMPtr<TimeZone> utc = zoneOf("UTC");
  VMPtr<TimeZone> gmt = zoneOf("GMT");
  VMPtr<TimeZone> platform = TimeZone::getDefault();
  EXPECT_EQ("UTC", text(utc->getID()));
  EXPECT_EQ("GMT", text(gmt->getID()));
  EXPECT_EQ("UTC+00:00", text(platform->getID()));
  EXPECT_NE(utc.get(), gmt.get());
  EXPECT_EQ(utc.get(), zoneOf("UTC").get());
  EXPECT_EQ(platform.get(), zoneOf("UTC+00:00").get());
  EXPECT_EQ(platform.get(), TimeZone::getDefault().get());
  for (const VMPtr<TimeZone>& z : {utc, gmt, platform}) {
    EXPECT_EQ(0, z->getRawOffset());
    EXPECT_EQ(0, z->useDaylightTime());
  }
  // IDs are case-sensitive; anything unknown is the GMT zone, never null.
  for (const char* id : {"utc", "Gmt", "EST", "Europe/Rome", "GMT "}) {
    EXPECT_EQ(gmt.get(), zoneOf(id).get()) << id;
  }
  EXPECT_EQ("java.lang.NullPointerException", thrownClass([] { TimeZone::getTimeZone(VMPtr<String>()); }));
}

TEST_F(TimeZoneTest, CustomIdsGiveNewZonesOfTheirOffset) {
  struct Case {
    const char* id;
    const char* expectedId;  // null: the GMT zone
    int32_t offset;
  };
  const Case cases[] = {
      {"GMT+5:30", "GMT+05:30", 19800000},  {"GMT+0530", "GMT+05:30", 19800000},
      {"GMT+530", "GMT+05:30", 19800000},   {"GMT+05:30", "GMT+05:30", 19800000},
      {"UTC-8", "UTC-08:00", -28800000},    {"GMT+106", "GMT+01:06", 3960000},
      {"GMT+0:30", "GMT+00:30", 1800000},   {"GMT+16", "GMT+16:00", 57600000},
      {"GMT+20", "GMT+20:00", 72000000},    {"UTC+23:59", "UTC+23:59", 86340000},
      {"GMT-23:59", "GMT-23:59", -86340000}, {"GMT-0", "GMT+00:00", 0},
      {"UTC+00", "UTC+00:00", 0},           {"GMT+3", "GMT+03:00", 10800000},
      {"GMT+24", nullptr, 0},               {"GMT+25", nullptr, 0},
      {"GMT+5:3", nullptr, 0},              {"GMT+1:60", nullptr, 0},
      {"GMT+5:7", nullptr, 0},              {"GMT5", nullptr, 0},
      {"gmt+1", nullptr, 0},                {"GMT+", nullptr, 0},
      {"GMT+12345", nullptr, 0},            {"GMT+1:2:3", nullptr, 0},
      {"GMT+-1", nullptr, 0},               {"GMT++1", nullptr, 0},
      {"GMT 1", nullptr, 0},                {"GMT+1a", nullptr, 0},
      {"GMT+1:", nullptr, 0},               {"GMT+:30", nullptr, 0},
      {"UTC+7:30x", nullptr, 0},            {"XYZ+1", nullptr, 0},
  };
  VMPtr<TimeZone> gmt = zoneOf("GMT");
  for (const Case& c : cases) {
    VMPtr<TimeZone> zone = zoneOf(c.id);
    if (c.expectedId == nullptr) {
      EXPECT_EQ(gmt.get(), zone.get()) << c.id;
      continue;
    }
    EXPECT_NE(gmt.get(), zone.get()) << c.id;
    EXPECT_EQ(c.expectedId, text(zone->getID())) << c.id;
    EXPECT_EQ(c.offset, zone->getRawOffset()) << c.id;
    EXPECT_EQ(c.offset, zone->getOffset(1, 2024, 5, 1, 1, 0)) << c.id;
    // Custom zones are not remembered: each lookup makes a new one.
    EXPECT_NE(zone.get(), zoneOf(c.id).get()) << c.id;
  }
}

TEST(TimeZoneDefault, NamedAfterTheNegativePlatformOffset) {
  startVM(-(3 * kHour + 30 * 60000));
  VMPtr<TimeZone> platform = TimeZone::getDefault();
  EXPECT_EQ("UTC-03:30", text(platform->getID()));
  EXPECT_EQ(-12600000, platform->getRawOffset());
  VMPtr<Calendar> c = Calendar::getInstance();
  EXPECT_EQ(platform.get(), c->zone.get());
  c->setTimeInMillis(0);
  EXPECT_EQ(1969, c->get(Calendar::YEAR));
  EXPECT_EQ(20, c->get(Calendar::HOUR_OF_DAY));
  EXPECT_EQ(30, c->get(Calendar::MINUTE));
}

// The time-zone change event rebuilds the platform zone from the platform's
// new offset; calendars that hold the old zone keep it, and other events
// change nothing.
TEST(TimeZoneDefault, ZoneChangeEventRebuildsThePlatformZone) {
  startVM(kHour);
  VMPtr<TimeZone> before = TimeZone::getDefault();
  VMPtr<Calendar> old = Calendar::getInstance();
  ASSERT_EQ("UTC+01:00", text(before->getID()));

  DeviceProfile::instance().setZoneOffset(-(5 * kHour + 45 * 60000));
  const intptr_t key = 53;
  EXPECT_EQ(0, HAL_broadcastEvent(HAL_EVENT_KEY_PRESSED, 1, &key));
  EXPECT_EQ(before.get(), TimeZone::getDefault().get());

  EXPECT_EQ(0, HAL_broadcastEvent(HAL_EVENT_TIME_ZONE_CHANGE, 0, nullptr));
  VMPtr<TimeZone> after = TimeZone::getDefault();
  EXPECT_NE(before.get(), after.get());
  EXPECT_EQ("UTC-05:45", text(after->getID()));
  EXPECT_EQ(-20700000, after->getRawOffset());
  EXPECT_EQ(after.get(), zoneOf("UTC-05:45").get());
  // The old ID is now only a custom ID.
  VMPtr<TimeZone> oldId = zoneOf("UTC+01:00");
  EXPECT_NE(before.get(), oldId.get());
  EXPECT_EQ(3600000, oldId->getRawOffset());

  EXPECT_EQ(before.get(), old->zone.get());
  VMPtr<Calendar> fresh = Calendar::getInstance();
  EXPECT_EQ(after.get(), fresh->zone.get());
}

// Without the event registry (before VM start-up) the zones still work;
// there is just nobody to announce a change.
TEST(TimeZoneDefault, WorksWithoutTheEventRegistry) {
  DeviceProfile::instance().setZoneOffset(0);
  VMTestEnv::start();
  ASSERT_EQ(nullptr, HAL_getEventRegistry());
  EXPECT_EQ("UTC+00:00", text(TimeZone::getDefault()->getID()));
  EXPECT_EQ("GMT+05:30", text(zoneOf("GMT+5:30")->getID()));
}

}  // namespace
}  // namespace calendar_test
