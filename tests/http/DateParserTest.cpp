// The lenient HTTP date reader, as a table: the usual HTTP forms, zone
// words and numeric zones (both landing on the same instant), the am/pm
// rules, the word table's tie-breaks, comments, the two-digit year window,
// and what it rejects. The device's zone is UTC+01:00 and its clock in
// 2026, so the century window starts at 1946.

#include <gtest/gtest.h>

#include <string>

#include "DeviceProfile.h"
#include "JavaTestSupport.h"
#include "VMTestEnv.h"
#include "com_ravelstone_brume_midp_io_protocol_http_Protocol.h"
#include "java_lang_IllegalArgumentException.h"

namespace {

using com::ravelstone::brume::midp::io::protocol::http::Protocol;

constexpr int64_t kReject = INT64_MIN;

TEST(DateParser, Table) {
  DeviceProfile::instance().setZoneOffset(3600000);
  DeviceProfile::instance().setWallClock([] { return DeviceProfile::DateTime{2026, 6, 1, 12, 0, 0}; });
  VMTestEnv::start();
  const int64_t rfc1123 = 784111777000;  // 1994-11-06 08:49:37 UTC
  const int64_t hour = 3600000;
  struct Case {
    const char* text;
    int64_t expected;
  };
  const Case cases[] = {
      {"Sun, 06 Nov 1994 08:49:37 GMT", rfc1123},
      {"Sunday, 06-Nov-94 08:49:37 GMT", rfc1123},
      {"Sun Nov  6 08:49:37 1994", rfc1123 - hour},  // no zone: the device's
      {"Sun, 06 Nov 1994 08:49:37 UTC", rfc1123},
      // Zone words and numeric zones mean the same offsets.
      {"Sun, 06 Nov 1994 08:49:37 EST", rfc1123 + 5 * hour},
      {"Sun, 06 Nov 1994 08:49:37 -0500", rfc1123 + 5 * hour},
      {"Sun, 06 Nov 1994 08:49:37 PDT", rfc1123 + 7 * hour},
      {"Sun, 06 Nov 1994 08:49:37 +0100", rfc1123 - hour},
      {"Sun, 06 Nov 1994 08:49:37 GMT+2", rfc1123 - 2 * hour},
      {"Sun, 06 Nov 1994 08:49:37 GMT+0530", rfc1123 - 5 * hour - 30 * 60000},
      {"6 Nov 1994 08:00 EST PST", 784137600000},  // a second zone word replaces the first
      {"6 Nov 1994 08:00 EST +0100", kReject},     // an offset after a non-zero zone
      // am and pm.
      {"6 Nov 1994 12:30 pm GMT", 784125000000},
      {"6 Nov 1994 12:30 am GMT", 784081800000},
      {"6 Nov 1994 1:30 pm GMT", 784125000000 + hour},
      {"6 Nov 1994 13:00 pm", kReject},
      {"Nov 5 pm 1994", kReject},  // 5 is a day: pm finds no hour
      // Numbers with '/' and the word table's tie-breaks.
      {"1994/11/06", 784080000000 - hour},
      {"6 ma 1994 GMT", 768182400000},  // May, not March
      {"6 ju 1994 GMT", 773452800000},  // July, not June
      {"sa, 6 Nov 1994 GMT", 784080000000},
      {"s, 6 Nov 1994 GMT", kReject},
      {"m 6 1994", kReject},
      {"6 Nov 1994 GMT xyz", kReject},
      // Comments.
      {"Sun (a (nested) comment) 06 Nov 1994 08:49:37 GMT", rfc1123},
      {"Sun, 06 Nov 1994 08:49:37 GMT (unclosed", rfc1123},
      // Two-digit years: 1946 .. 2045.
      {"6 Nov 94 GMT", 784080000000},
      {"6-Nov-30 GMT", 1920153600000},
      // Missing parts and junk.
      {"", kReject},
      {"Nov 1994", kReject},
      {"6 Nov", kReject},
      {"1994 1995 Nov 6", kReject},
      {"6 Nov 1994 1:2:3:4", kReject},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text);
    if (k.expected == kReject) {
      EXPECT_EQ(java_test::thrownMessage<java::lang::IllegalArgumentException>(
                    [&] { Protocol::parseDate(java_test::jstr(java_test::u16(k.text))); }),
                "Error parsing date");
    } else {
      EXPECT_EQ(Protocol::parseDate(java_test::jstr(java_test::u16(k.text))), k.expected);
    }
  }
  EXPECT_EQ(java_test::thrownMessage<java::lang::IllegalArgumentException>(
                [] { Protocol::parseDate(VMPtr<java::lang::String>()); }),
            "Error parsing date");
}

}  // namespace
