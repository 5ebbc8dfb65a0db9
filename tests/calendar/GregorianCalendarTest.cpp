// GregorianCalendar's arithmetic: fields of instants and instants of fields
// against Java 17, the calendar switch, eras, saturation at the ends of the
// long range, lenient values and the hour rules.

#include <limits>

#include "CalendarTestSupport.h"

namespace calendar_test {
namespace {

using com::ravelstone::brume::cldc::util::GregorianCalendar;

constexpr int32_t kTableFields[] = {Calendar::ERA,         Calendar::YEAR,   Calendar::MONTH,       Calendar::DATE,
                                    Calendar::DAY_OF_WEEK, Calendar::HOUR_OF_DAY, Calendar::AM_PM, Calendar::HOUR,
                                    Calendar::MINUTE,      Calendar::SECOND, Calendar::MILLISECOND};

using GregorianCalendarTest = CalendarFixture;

// Every instant of the table in UTC and in fixed-offset zones: the fields
// match Java's GregorianCalendar (default Gregorian change), and setting a
// field to its own value and reading the time back gives the instant again
// (BC years included).
TEST_F(GregorianCalendarTest, FieldsOfInstantsMatchJavaAndRoundTrip) {
  std::string zoneId;
  VMPtr<Calendar> c;
  int checked = 0;
  for (const Row& row : readTable("compute_fields.txt")) {
    if (row[0] != zoneId) {
      zoneId = row[0];
      c = calendarIn(zoneId);
    }
    const int64_t t = std::stoll(row[1]);
    c->setTimeInMillis(t);
    for (size_t i = 0; i < std::size(kTableFields); ++i) {
      ASSERT_EQ(std::stoi(row[2 + i]), stored(c, kTableFields[i])) << "field " << kTableFields[i] << " of "
                                                                   << showRow(row);
    }
    c->set(Calendar::MILLISECOND, stored(c, Calendar::MILLISECOND));
    ASSERT_EQ(t, c->getTimeInMillis()) << "round trip of " << showRow(row);
    ++checked;
  }
  EXPECT_GT(checked, 1000);
}

// Field sets (lenient values included) give Java's instant. Left out by the
// generator, because this system differs from Java SE there: HOUR_OF_DAY
// beyond -23..23 (taken modulo 24, no carry into the day), HOUR above 12
// with PM or above 23 (read as an afternoon hour of the same day), a MONTH
// outside 0..11 that moves the year across 1582 (the calendar is chosen by
// the year as set), and a lenient time of day that moves the date across
// the calendar switch (the calendar is chosen by the date before the time
// of day is added; Java SE goes by the resulting date). The hour rules are
// pinned below, the time of day across the switch in
// TimeOfDayAcrossTheSwitchKeepsTheCalendarOfTheDate.
TEST_F(GregorianCalendarTest, InstantsOfFieldSetsMatchJava) {
  int checked = 0;
  for (const Row& row : readTable("compute_time.txt")) {
    VMPtr<Calendar> c = calendarIn(row[0]);
    c->set(Calendar::ERA, std::stoi(row[1]));
    c->set(Calendar::YEAR, std::stoi(row[2]));
    c->set(Calendar::MONTH, std::stoi(row[3]));
    c->set(Calendar::DATE, std::stoi(row[4]));
    if (row[5] == "h") {
      c->set(Calendar::AM_PM, std::stoi(row[7]));
      c->set(Calendar::HOUR, std::stoi(row[6]));
    } else {
      c->set(Calendar::HOUR_OF_DAY, std::stoi(row[6]));
    }
    c->set(Calendar::MINUTE, std::stoi(row[8]));
    c->set(Calendar::SECOND, std::stoi(row[9]));
    c->set(Calendar::MILLISECOND, std::stoi(row[10]));
    ASSERT_EQ(std::stoll(row[11]), c->getTimeInMillis()) << showRow(row);
    ++checked;
  }
  EXPECT_GT(checked, 1000);
}

struct DateCase {
  int64_t time;
  int32_t era, year, month, date, dayOfWeek, hourOfDay, minute, second, millis;
};

TEST_F(GregorianCalendarTest, KnownDatesInGmt) {
  const DateCase cases[] = {
      {0, 1, 1970, 0, 1, Calendar::THURSDAY, 0, 0, 0, 0},
      {-1, 1, 1969, 11, 31, Calendar::WEDNESDAY, 23, 59, 59, 999},
      // The last Julian day and the first Gregorian day.
      {-12219292800001, 1, 1582, 9, 4, Calendar::THURSDAY, 23, 59, 59, 999},
      {-12219292800000, 1, 1582, 9, 15, Calendar::FRIDAY, 0, 0, 0, 0},
      // 1 January 1 AD (Julian) and the day before it, 31 December 1 BC.
      {-62135769600000, 1, 1, 0, 1, Calendar::SATURDAY, 0, 0, 0, 0},
      {-62135769600001, 0, 1, 11, 31, Calendar::FRIDAY, 23, 59, 59, 999},
  };
  VMPtr<Calendar> c = calendarIn("GMT");
  for (const DateCase& d : cases) {
    c->setTimeInMillis(d.time);
    const int32_t expected[] = {d.era, d.year, d.month, d.date, d.dayOfWeek, d.hourOfDay, d.minute, d.second,
                                d.millis};
    const int32_t fields[] = {Calendar::ERA,         Calendar::YEAR,   Calendar::MONTH,  Calendar::DATE,
                              Calendar::DAY_OF_WEEK, Calendar::HOUR_OF_DAY, Calendar::MINUTE, Calendar::SECOND,
                              Calendar::MILLISECOND};
    for (size_t i = 0; i < std::size(fields); ++i) {
      EXPECT_EQ(expected[i], stored(c, fields[i])) << "field " << fields[i] << " at " << d.time;
    }
  }
}

// Near the ends of the long range a zone's offset would carry the local time
// past them; the local time is held at the end instead of wrapping into the
// other end of the range.
TEST_F(GregorianCalendarTest, LocalTimeSaturatesAtTheEndsOfTheRange) {
  const int64_t ends[] = {std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::min()};
  const char* zones[] = {"GMT+05:30", "GMT-08:00"};
  for (int64_t end : ends) {
    VMPtr<Calendar> gmt = calendarIn("GMT");
    gmt->setTimeInMillis(end);
    for (const char* zone : zones) {
      VMPtr<Calendar> c = calendarIn(zone);
      c->setTimeInMillis(end);
      const bool pushedOut = (end > 0) == (zone[3] == '+');
      if (pushedOut) {
        for (int32_t field : kTableFields) {
          EXPECT_EQ(stored(gmt, field), stored(c, field)) << zone << " field " << field << " at " << end;
        }
      }
      if (!pushedOut) {
        // The offset pulling inwards still applies.
        EXPECT_NE(stored(gmt, Calendar::HOUR_OF_DAY), stored(c, Calendar::HOUR_OF_DAY)) << zone;
      }
    }
  }
  VMPtr<Calendar> c = calendarIn("GMT+05:30");
  c->setTimeInMillis(std::numeric_limits<int64_t>::max());
  EXPECT_EQ(1, stored(c, Calendar::ERA));
  EXPECT_EQ(292278994, stored(c, Calendar::YEAR));
  c->setTimeZone(zoneOf("GMT-08:00"));
  c->setTimeInMillis(std::numeric_limits<int64_t>::min());
  EXPECT_EQ(0, stored(c, Calendar::ERA));
  EXPECT_EQ(292269055, stored(c, Calendar::YEAR));
}

// A BC date set field by field: the era counts, so ERA 0 YEAR 1 is the year
// before 1 AD and comes back unchanged.
TEST_F(GregorianCalendarTest, BcYearsSurviveComputeTime) {
  const int32_t years[] = {1, 2, 4, 5, 44, 753, 4713};
  for (int32_t year : years) {
    VMPtr<Calendar> c = calendarIn("GMT");
    c->set(Calendar::ERA, 0);
    c->set(Calendar::YEAR, year);
    c->set(Calendar::MONTH, Calendar::MARCH);
    c->set(Calendar::DATE, 15);
    c->set(Calendar::HOUR_OF_DAY, 12);
    const int64_t t = c->getTimeInMillis();
    EXPECT_LT(t, -62135769600000) << year << " BC lies before 1 AD";
    c->setTimeInMillis(t);
    EXPECT_EQ(0, stored(c, Calendar::ERA)) << year;
    EXPECT_EQ(year, stored(c, Calendar::YEAR));
    EXPECT_EQ(Calendar::MARCH, stored(c, Calendar::MONTH)) << year;
    EXPECT_EQ(15, stored(c, Calendar::DATE)) << year;
    EXPECT_EQ(12, stored(c, Calendar::HOUR_OF_DAY)) << year;
  }
  // 1 BC and 1 AD are one Julian year (366 days: 1 BC is a leap year) apart.
  VMPtr<Calendar> bc = calendarIn("GMT");
  bc->set(Calendar::ERA, 0);
  bc->set(Calendar::YEAR, 1);
  bc->set(Calendar::MONTH, 0);
  bc->set(Calendar::DATE, 1);
  bc->set(Calendar::HOUR_OF_DAY, 0);
  bc->set(Calendar::MINUTE, 0);
  bc->set(Calendar::SECOND, 0);
  bc->set(Calendar::MILLISECOND, 0);
  EXPECT_EQ(-62135769600000 - 366 * kDay, bc->getTimeInMillis());
}

// The time of day is summed in 64 bits: lenient seconds, minutes and
// milliseconds far beyond an int's worth of milliseconds move the date.
TEST_F(GregorianCalendarTest, LargeLenientTimeOfDayMovesTheDate) {
  VMPtr<Calendar> c = calendarIn("GMT");
  c->setTimeInMillis(0);
  c->set(Calendar::SECOND, 3000000);
  EXPECT_EQ(3000000000, c->getTimeInMillis());
  EXPECT_EQ(Calendar::WEDNESDAY, c->get(Calendar::DAY_OF_WEEK));  // 1970-02-04 17:20
  EXPECT_EQ(1, stored(c, Calendar::MONTH));
  EXPECT_EQ(4, stored(c, Calendar::DATE));
  EXPECT_EQ(17, stored(c, Calendar::HOUR_OF_DAY));
  EXPECT_EQ(20, stored(c, Calendar::MINUTE));

  c->setTimeInMillis(0);
  c->set(Calendar::MINUTE, std::numeric_limits<int32_t>::max());
  c->set(Calendar::MILLISECOND, std::numeric_limits<int32_t>::max());
  EXPECT_EQ(int64_t{2147483647} * 60000 + 2147483647, c->getTimeInMillis());
}

// The date as set chooses the calendar; a time of day that carries the
// instant to the other side of the switch moves it by exact days in that
// calendar. 15 October 1582 (Gregorian) minus one day of minutes is the
// instant just before the switch, 4 October 1582 (Java SE: 14 October).
TEST_F(GregorianCalendarTest, TimeOfDayAcrossTheSwitchKeepsTheCalendarOfTheDate) {
  VMPtr<Calendar> c = calendarIn("GMT");
  c->setTimeInMillis(GregorianCalendar::kGregorianSwitch);
  c->set(Calendar::MINUTE, -24 * 60);
  EXPECT_EQ(GregorianCalendar::kGregorianSwitch - kDay, c->getTimeInMillis());
  EXPECT_EQ(Calendar::THURSDAY, c->get(Calendar::DAY_OF_WEEK));
  EXPECT_EQ(4, stored(c, Calendar::DATE));
  EXPECT_EQ(Calendar::OCTOBER, stored(c, Calendar::MONTH));
}

// Hour rules of computeTime that Java SE does not share.
TEST_F(GregorianCalendarTest, HourRulesOfThisSystem) {
  VMPtr<Calendar> c = calendarIn("GMT");
  c->setTimeInMillis(0);
  // HOUR_OF_DAY is taken modulo 24 and stays on its day (Java SE: next day).
  c->set(Calendar::HOUR_OF_DAY, 25);
  EXPECT_EQ(kHour, c->getTimeInMillis());
  EXPECT_EQ(1, stored(c, Calendar::HOUR_OF_DAY));
  EXPECT_EQ(Calendar::AM, stored(c, Calendar::AM_PM));

  // HOUR 15 is 3 PM whatever AM_PM says (Java SE: 3 AM of the next day with PM).
  c->setTimeInMillis(0);
  c->set(Calendar::AM_PM, Calendar::PM);
  c->set(Calendar::HOUR, 15);
  EXPECT_EQ(15 * kHour, c->getTimeInMillis());
  EXPECT_EQ(15, stored(c, Calendar::HOUR_OF_DAY));
  EXPECT_EQ(3, stored(c, Calendar::HOUR));
  EXPECT_EQ(Calendar::PM, stored(c, Calendar::AM_PM));

  // HOUR 3 with AM_PM PM and no HOUR_OF_DAY set: 15 o'clock.
  c->setTimeInMillis(0);
  c->set(Calendar::AM_PM, Calendar::PM);
  c->set(Calendar::HOUR, 3);
  EXPECT_EQ(15, c->get(Calendar::HOUR_OF_DAY));

  // An AM_PM outside 0 and 1 is repaired from the stored HOUR_OF_DAY.
  c->setTimeInMillis(20 * kHour);
  c->set(Calendar::AM_PM, 7);
  c->set(Calendar::HOUR, 2);
  EXPECT_EQ(14, c->get(Calendar::HOUR_OF_DAY));
  EXPECT_EQ(Calendar::PM, c->get(Calendar::AM_PM));

  // HOUR_OF_DAY wins over HOUR when both are set.
  c->setTimeInMillis(0);
  c->set(Calendar::HOUR, 5);
  c->set(Calendar::HOUR_OF_DAY, 9);
  EXPECT_EQ(9, c->get(Calendar::HOUR_OF_DAY));
}

// A lenient month moves the year; the stored MONTH keeps the set value
// until the fields are recomputed.
TEST_F(GregorianCalendarTest, LenientMonthMovesTheYear) {
  VMPtr<Calendar> c = calendarIn("GMT");
  c->setTimeInMillis(0);
  c->set(Calendar::YEAR, 2000);
  c->set(Calendar::MONTH, 13);
  c->set(Calendar::DATE, 10);
  const int64_t t = c->getTimeInMillis();
  EXPECT_EQ(13, stored(c, Calendar::MONTH));
  EXPECT_EQ(2000, stored(c, Calendar::YEAR));
  EXPECT_EQ(981763200000, t);  // 2001-02-10
  c->get(Calendar::DAY_OF_WEEK);
  EXPECT_EQ(1, stored(c, Calendar::MONTH));
  EXPECT_EQ(2001, stored(c, Calendar::YEAR));
}

}  // namespace
}  // namespace calendar_test
