#include "com_ravelstone_brume_cldc_util_TimeZonePimpl.h"

#include "HALClock.h"
#include "HALEvents.h"
#include "com_ravelstone_brume_cldc_util_TimeZoneUTC.h"

VM_REGISTER_CLASS(com::ravelstone::brume::cldc::util::TimeZonePimpl, "com.ravelstone.brume.cldc.util.TimeZonePimpl",
                  "java.lang.Object", VM_HAS_CLINIT);

namespace {

// States of the custom ID reader: 0 rejects, kAccept accepts, 1..9 are
// states. Columns: the end of the ID, the digits 0-1, 2, 3, 4-5, 6-9, a
// sign and ':'.
constexpr int8_t kAccept = 10;
constexpr int8_t kNextState[9][8] = {
    {0, 0, 0, 0, 0, 0, 2, 0},        // 1: before the sign
    {0, 3, 4, 5, 5, 5, 0, 0},        // 2: first hour digit
    {kAccept, 6, 6, 6, 6, 5, 0, 7},  // 3: after hour 0 or 1
    {kAccept, 6, 6, 6, 8, 0, 0, 7},  // 4: after hour 2
    {kAccept, 8, 8, 8, 8, 0, 0, 7},  // 5: after a complete hour
    {kAccept, 8, 8, 8, 8, 9, 0, 7},  // 6: after two digits that may be hours
    {0, 8, 8, 8, 8, 0, 0, 0},        // 7: after ':'
    {0, 9, 9, 9, 9, 9, 0, 0},        // 8: after the tens of minutes
    {kAccept, 0, 0, 0, 0, 0, 0, 0},  // 9: after the minutes
};

constexpr int kEnd = 0;
constexpr int kSign = 6;
constexpr int kColon = 7;

// The column of a character, or -1 for one that no state takes.
int columnOf(char16_t c) {
  switch (c) {
    case u'0': case u'1': return 1;
    case u'2': return 2;
    case u'3': return 3;
    case u'4': case u'5': return 4;
    case u'6': case u'7': case u'8': case u'9': return 5;
    case u'+': case u'-': return kSign;
    case u':': return kColon;
    default: return -1;
  }
}

bool startsWith(const char16_t* chars, const char* prefix) {
  for (int i = 0; prefix[i] != '\0'; ++i) {
    if (chars[i] != static_cast<char16_t>(prefix[i])) return false;
  }
  return true;
}

}  // namespace

namespace com::ravelstone::brume::cldc::util {

using java::lang::String;
using java::util::TimeZone;

VMStatic<TimeZonePimpl::Zones> TimeZonePimpl::zones;
VMStatic<String> TimeZonePimpl::platformZoneID;

void TimeZonePimpl::_VM_clinit() {
  zones = Zones::create(3);
  buildPlatformZone();
  VMPtr<TimeZoneUTC> utc = TimeZoneUTC::_VM_new();
  utc->_VM_init(0, _VM_intern("UTC"));
  zones->set(1, utc);
  VMPtr<TimeZoneUTC> gmt = TimeZoneUTC::_VM_new();
  gmt->_VM_init(0, _VM_intern("GMT"));
  zones->set(2, gmt);
  HAL_addEventListener(&onPlatformEvent, 1u << HAL_EVENT_TIME_ZONE_CHANGE, 1);
}

void TimeZonePimpl::buildPlatformZone() {
  // One reading serves both the ID and the zone, so that they always agree.
  const int32_t offset = HAL_getTimeZoneOffset();
  VMPtr<String> id = makeZoneID("UTC", offset);
  VMPtr<TimeZoneUTC> zone = TimeZoneUTC::_VM_new();
  zone->_VM_init(offset, id);
  platformZoneID = id;
  zones->set(0, zone);
}

void TimeZonePimpl::onPlatformEvent(int type, int, const intptr_t*) {
  if (type != HAL_EVENT_TIME_ZONE_CHANGE) return;
  buildPlatformZone();
}

VMPtr<TimeZone> TimeZonePimpl::lookup(VMPtr<String> ID) {
  _VM_clinitCheck();
  if (!ID) ID = platformZoneID;
  VMPtr<Zones> known(zones);
  for (int32_t i = 0; i < known->length; ++i) {
    VMPtr<TimeZone> zone = known->get(i);
    VMPtr<String> zoneID = zone->getID();
    if (zoneID && zoneID->equals(ID)) return zone;
  }
  return VMPtr<TimeZone>();
}

VMPtr<String> TimeZonePimpl::makeZoneID(const char* prefix, int32_t offset) {
  char16_t id[9];
  for (int i = 0; i < 3; ++i) id[i] = static_cast<char16_t>(prefix[i]);
  // 64 bits, so that even the most negative offset negates.
  int64_t magnitude = offset;
  id[3] = u'+';
  if (magnitude < 0) {
    id[3] = u'-';
    magnitude = -magnitude;
  }
  const int64_t minutes = magnitude / 60000;
  id[4] = static_cast<char16_t>(u'0' + (minutes / 600) % 10);
  id[5] = static_cast<char16_t>(u'0' + (minutes / 60) % 10);
  id[6] = u':';
  id[7] = static_cast<char16_t>(u'0' + (minutes % 60) / 10);
  id[8] = static_cast<char16_t>(u'0' + minutes % 10);
  return String::_VM_fromUTF16(id, 9);
}

bool TimeZonePimpl::parseCustomID(VMPtr<String> ID, int32_t& offset, bool& isUTC) {
  const int32_t length = ID->count;
  if (length <= 4) return false;
  const char16_t* chars = ID->_VM_chars();
  const bool utc = startsWith(chars, "UTC");
  if (!utc && !startsWith(chars, "GMT")) return false;

  int32_t digits[4] = {0, 0, 0, 0};
  int digitCount = 0;
  bool negative = false;
  int state = 1;
  for (int32_t i = 3; i <= length; ++i) {
    const int column = i == length ? kEnd : columnOf(chars[i]);
    if (column < 0) return false;
    const int next = kNextState[state - 1][column];
    if (next == 0) return false;
    if (next == kAccept) break;
    if (column == kSign) {
      negative = chars[i] == u'-';
    } else if (column != kColon) {
      digits[digitCount++] = chars[i] - u'0';  // the states allow at most four digits
    }
    state = next;
  }

  int32_t hours = 0;
  int32_t minutes = 0;
  switch (digitCount) {
    case 1: hours = digits[0]; break;
    case 2: hours = digits[0] * 10 + digits[1]; break;
    case 3: hours = digits[0]; minutes = digits[1] * 10 + digits[2]; break;
    default: hours = digits[0] * 10 + digits[1]; minutes = digits[2] * 10 + digits[3]; break;
  }
  offset = (hours * 60 + minutes) * 60000;
  if (negative) offset = -offset;
  isUTC = utc;
  return true;
}

}  // namespace com::ravelstone::brume::cldc::util
