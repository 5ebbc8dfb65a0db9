// Date: its text against Java 17, hashCode and equals.

#include "CalendarTestSupport.h"
#include "com_ravelstone_brume_cldc_util_TimeZoneUTC.h"

namespace calendar_test {
namespace {

using com::ravelstone::brume::cldc::util::TimeZoneUTC;

using DateTest = CalendarFixture;

VMPtr<Date> dateAt(int64_t t) {
  VMPtr<Date> d = Date::_VM_new();
  d->_VM_init(t);
  return d;
}

// Java's text in the zone UTC, as this system writes it: the default zone
// is named "UTC+00:00" where Java writes "UTC", and the year has at least
// four digits ("0033" where Java writes "33"; both write the year of the
// era, so 1 BC is "0001" against Java's "1").
std::string asThisSystemWritesIt(const std::string& java) {
  const size_t zone = java.rfind(" UTC ");
  EXPECT_NE(std::string::npos, zone) << java;
  std::string year = java.substr(zone + 5);
  while (year.size() < 4) year = "0" + year;
  return java.substr(0, zone) + " UTC+00:00 " + year;
}

TEST_F(DateTest, ToStringMatchesJavaInUtc) {
  int checked = 0;
  for (const Row& row : readTable("date_string.txt")) {
    VMPtr<Date> d = dateAt(std::stoll(row[0]));
    ASSERT_EQ(asThisSystemWritesIt(row[1]), text(d->toString())) << row[0];
    ++checked;
  }
  EXPECT_GT(checked, 500);
}

TEST_F(DateTest, ToStringPadsTheYearAndLeavesOutAMissingZoneId) {
  EXPECT_EQ("Thu Jan 01 00:00:00 UTC+00:00 1970", text(dateAt(0)->toString()));
  // 1 March 33 AD, 07:08:09 (Julian calendar).
  EXPECT_EQ("Sun Mar 01 07:08:09 UTC+00:00 0033", text(dateAt(-61120803111000)->toString()));

  VMPtr<Date> d = dateAt(0);
  VMPtr<TimeZoneUTC> nameless = TimeZoneUTC::_VM_new();
  nameless->_VM_init(0, VMPtr<String>());
  d->calendar->setTimeZone(nameless);
  EXPECT_EQ("Thu Jan 01 00:00:00 1970", text(d->toString()));

  VMPtr<TimeZoneUTC> named = TimeZoneUTC::_VM_new();
  named->_VM_init(-kHour, jstr("Somewhere"));
  d->calendar->setTimeZone(named);
  EXPECT_EQ("Wed Dec 31 23:00:00 Somewhere 1969", text(d->toString()));
}

TEST_F(DateTest, HashCodeAndEqualsFollowTheTime) {
  const int64_t times[] = {0, 1, -1, 1709288130000, int64_t{1} << 32, -(int64_t{1} << 40) + 7};
  for (int64_t t : times) {
    VMPtr<Date> a = dateAt(t);
    EXPECT_EQ(static_cast<int32_t>(t ^ static_cast<int64_t>(static_cast<uint64_t>(t) >> 32)), a->hashCode()) << t;
    EXPECT_TRUE(a->equals(dateAt(t))) << t;
    EXPECT_FALSE(a->equals(dateAt(t + 1))) << t;
  }
  VMPtr<Date> d = dateAt(5);
  EXPECT_FALSE(d->equals(VMPtr<java::lang::Object>()));
  EXPECT_FALSE(d->equals(calendarIn("GMT")));
  d->setTime(-5);
  EXPECT_EQ(-5, d->getTime());
  EXPECT_EQ("Wed Dec 31 23:59:59 UTC+00:00 1969", text(d->toString()));
}

}  // namespace
}  // namespace calendar_test
