#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <unistd.h>

#include "DeviceProfile.h"
#include "HALClock.h"
#include "ScopedEnv.h"

namespace {

using DateTime = DeviceProfile::DateTime;

// Milliseconds since 1970 of a UTC date and time, computed by the C++
// library's calendar.
int64_t epochMillis(const DateTime& t) {
  using namespace std::chrono;
  const sys_days day{year{t.year} / month{static_cast<unsigned>(t.month)} / t.day};
  return duration_cast<milliseconds>(day.time_since_epoch() + hours{t.hour} + minutes{t.minute} + seconds{t.second})
      .count();
}

// The wall clock reads `t`.
void setWallClock(DateTime t) {
  DeviceProfile::instance().setWallClock([t] { return t; });
}

class HALClockTest : public ::testing::Test {
 protected:
  void TearDown() override { DeviceProfile::instance().loadDefaults(); }
};

TEST_F(HALClockTest, WallClockCountsMillisecondsSince1970) {
  struct Case {
    DateTime t;
    int64_t millis;
  };
  const Case cases[] = {
      {{1970, 1, 1, 0, 0, 0}, 0},
      {{1970, 1, 2, 0, 0, 0}, 86400000},
      {{1969, 12, 31, 23, 59, 59}, -1000},
      {{2024, 1, 1, 0, 0, 0}, 1704067200000},
      {{2024, 3, 1, 0, 0, 0}, 1709251200000},  // the leap day is counted once
      {{2024, 2, 29, 23, 59, 59}, 1709251199000},
      {{2038, 1, 19, 3, 14, 8}, 2147483648000},  // beyond 32-bit seconds
      {{2000, 3, 1, 0, 0, 0}, 951868800000},
      {{1900, 3, 1, 0, 0, 0}, -2203891200000},
      {{2100, 3, 1, 0, 0, 0}, 4107542400000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.millis);
    setWallClock(c.t);
    EXPECT_EQ(c.millis, HAL_getWallClockMillis());
  }
}

TEST(HALDayCountTest, FollowsTheGregorianLeapYearRule) {
  struct Case {
    int32_t year;
    bool leap;
  };
  const Case cases[] = {{1900, false}, {1970, false}, {1972, true}, {2000, true}, {2023, false},
                        {2024, true},  {2100, false}, {2400, true}, {0, true},     {-1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.year);
    EXPECT_EQ(c.leap ? 60 : 59, HAL_daysBeforeMonth(3, c.year));
    EXPECT_EQ(c.leap ? 366 : 365, HAL_daysBeforeYear(c.year + 1) - HAL_daysBeforeYear(c.year));
    EXPECT_EQ(c.leap ? 1 : 0, HAL_leapDaysThrough(c.year) - HAL_leapDaysThrough(c.year - 1));
  }
  EXPECT_EQ(477, HAL_leapDaysThrough(1969));
  EXPECT_EQ(0, HAL_daysBeforeYear(1970));
  EXPECT_EQ(1096, HAL_daysBeforeYear(1973));
  // Months outside 1..12: nothing before January, the whole year after December.
  EXPECT_EQ(0, HAL_daysBeforeMonth(0, 2024));
  EXPECT_EQ(0, HAL_daysBeforeMonth(-5, 2024));
  EXPECT_EQ(335, HAL_daysBeforeMonth(12, 2024));
  EXPECT_EQ(366, HAL_daysBeforeMonth(13, 2024));
  EXPECT_EQ(365, HAL_daysBeforeMonth(99, 2023));
}

TEST(HALDayCountTest, AgreesWithTheCalendarOnEveryMonth) {
  for (int32_t year = 1600; year <= 2500; ++year) {
    for (int32_t month = 1; month <= 12; ++month) {
      const int64_t days = HAL_daysBeforeYear(year) + HAL_daysBeforeMonth(month, year);
      ASSERT_EQ(epochMillis({year, month, 1, 0, 0, 0}) / 86400000, days) << year << "-" << month;
    }
  }
}

TEST_F(HALClockTest, CurrentTimeMovesWithTheTicksOnlyAndNeverBack) {
  uint64_t tick = 5000;
  DeviceProfile::instance().setTickCounter([&tick] { return tick; });
  setWallClock({2024, 3, 1, 0, 0, 0});
  EXPECT_EQ(1709251200000, HAL_getCurrentTimeMillis());  // anchored on the wall clock

  // A second later by the ticks; the wall clock is not read again.
  tick = 6000;
  setWallClock({2030, 1, 1, 0, 0, 0});
  EXPECT_EQ(1709251201000, HAL_getCurrentTimeMillis());

  // Beyond 2^32 ms of ticks the time goes on, without a wrap.
  tick = (uint64_t{1} << 32) + 7000;
  EXPECT_EQ(1709251200000 - 5000 + (int64_t{1} << 32) + 7000, HAL_getCurrentTimeMillis());

  // A counter that jumps back does not take the time back.
  const int64_t latest = HAL_getCurrentTimeMillis();
  tick = 1000;
  EXPECT_EQ(latest, HAL_getCurrentTimeMillis());
  tick = (uint64_t{1} << 32) + 8000;
  EXPECT_EQ(latest + 1000, HAL_getCurrentTimeMillis());
}

TEST_F(HALClockTest, HostClockGivesEpochTime) {
  // The host's wall clock is UTC and its ticks move forward.
  const auto systemMillis = [] {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  };
  const int64_t before = systemMillis();
  const int64_t first = HAL_getCurrentTimeMillis();
  EXPECT_NEAR(static_cast<double>(before), static_cast<double>(first), 2000.0);
  EXPECT_NEAR(static_cast<double>(systemMillis()), static_cast<double>(HAL_getWallClockMillis()), 2000.0);
  usleep(20000);
  EXPECT_GE(HAL_getCurrentTimeMillis() - first, 20);
}

TEST_F(HALClockTest, ZoneOffsetCanBeFixed) {
  for (int32_t offset : {0, 3600000, -18000000, 19800000, 45900000, -43200000}) {
    DeviceProfile::instance().setZoneOffset(offset);
    EXPECT_EQ(offset, HAL_getTimeZoneOffset());
  }
}

// The host's zone data for the wall clock's instant, with TZ rules that need
// no zone files, including the instants of the switches to and from summer
// time.
TEST_F(HALClockTest, ZoneOffsetFollowsTheHostZoneAndSummerTime) {
  struct Case {
    const char* zone;
    DateTime utc;
    int32_t offset;
  };
  const char* cet = "CET-1CEST,M3.5.0,M10.5.0/3";
  const char* est = "EST5EDT,M3.2.0,M11.1.0";
  const Case cases[] = {
      {"UTC0", {2024, 7, 1, 12, 0, 0}, 0},
      {cet, {2024, 1, 15, 12, 0, 0}, 3600000},
      {cet, {2024, 7, 15, 12, 0, 0}, 7200000},
      {cet, {2024, 3, 31, 0, 59, 59}, 3600000},
      {cet, {2024, 3, 31, 1, 0, 0}, 7200000},
      {cet, {2024, 10, 27, 0, 59, 59}, 7200000},
      {cet, {2024, 10, 27, 1, 0, 0}, 3600000},
      {est, {2024, 1, 15, 12, 0, 0}, -18000000},
      {est, {2024, 7, 15, 12, 0, 0}, -14400000},
      {"IST-5:30", {2024, 7, 15, 12, 0, 0}, 19800000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.zone) + " at " + std::to_string(epochMillis(c.utc)));
    ScopedEnv tz("TZ", c.zone);
    setWallClock(c.utc);
    EXPECT_EQ(c.offset, HAL_getTimeZoneOffset());
  }
}

TEST_F(HALClockTest, ZoneOffsetFromNamedZones) {
  if (access("/usr/share/zoneinfo/Europe/Berlin", R_OK) != 0) GTEST_SKIP() << "no zone files installed";
  struct Case {
    const char* zone;
    DateTime utc;
    int32_t offset;
  };
  const Case cases[] = {
      {"Europe/Berlin", {2024, 1, 15, 12, 0, 0}, 3600000},
      {"Europe/Berlin", {2024, 7, 15, 12, 0, 0}, 7200000},
      {"America/New_York", {2024, 1, 15, 12, 0, 0}, -18000000},
      {"America/New_York", {2024, 7, 15, 12, 0, 0}, -14400000},
      {"Asia/Kolkata", {2024, 7, 15, 12, 0, 0}, 19800000},
      {"Australia/Sydney", {2024, 1, 15, 12, 0, 0}, 39600000},  // summer in January
      {"Australia/Sydney", {2024, 7, 15, 12, 0, 0}, 36000000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.zone) + " at " + std::to_string(epochMillis(c.utc)));
    ScopedEnv tz("TZ", c.zone);
    setWallClock(c.utc);
    EXPECT_EQ(c.offset, HAL_getTimeZoneOffset());
  }
}

TEST_F(HALClockTest, DefaultsComeBackFromTheHost) {
  ScopedEnv tz("TZ", "IST-5:30");
  DeviceProfile::instance().setZoneOffset(3600000);
  setWallClock({2000, 1, 1, 0, 0, 0});
  DeviceProfile::instance().setTickCounter([] { return uint64_t{0}; });
  DeviceProfile::instance().loadDefaults();
  EXPECT_EQ(19800000, HAL_getTimeZoneOffset());
  EXPECT_GT(HAL_getWallClockMillis(), 1704067200000);  // after 2024
  const uint64_t a = DeviceProfile::instance().tickMillis();
  usleep(5000);
  EXPECT_GT(DeviceProfile::instance().tickMillis(), a);
}

}  // namespace
