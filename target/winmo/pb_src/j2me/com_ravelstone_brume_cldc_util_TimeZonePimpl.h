#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_String.h"
#include "java_util_TimeZone.h"

namespace com::ravelstone::brume::cldc::util {

// The registry of the known zones, behind TimeZone.getTimeZone and
// getDefault: the platform zone (the platform's offset, ID "UTC+hh:mm"),
// "UTC" and "GMT". Its static initialiser builds them and listens for the
// platform's time-zone change event, which rebuilds the platform zone.
class TimeZonePimpl : public virtual java::lang::Object {
  VM_CLASS(TimeZonePimpl, java::lang::Object)

 public:
  using Zones = VMArray<java::util::TimeZone>;

  static void _VM_clinit();

  // The first known zone whose ID equals `ID` (case-sensitive); a null ID
  // stands for the platform zone's ID. Null when none matches.
  static VMPtr<java::util::TimeZone> lookup(VMPtr<java::lang::String> ID);
  // The 9-character ID of an offset in milliseconds: `prefix` ("GMT" or
  // "UTC"), the sign, two digits of hours, ":" and two digits of minutes;
  // 19800000 with "GMT" gives "GMT+05:30".
  static VMPtr<java::lang::String> makeZoneID(const char* prefix, int32_t offset);
  // Reads a custom ID: "GMT" or "UTC", then '+' or '-', then H, HH, H:MM,
  // HH:MM, HMM or HHMM (hours up to 23, minutes up to 59; a single-digit
  // hour of 3 or more takes no second digit). On success stores the offset
  // in milliseconds and whether the ID starts with "UTC", and returns true.
  static bool parseCustomID(VMPtr<java::lang::String> ID, int32_t& offset, bool& isUTC);

  // The known zones: platform zone, "UTC", "GMT".
  static VMStatic<Zones> zones;
  // The ID of the platform zone.
  static VMStatic<java::lang::String> platformZoneID;

 private:
  // (Re)builds the platform zone and its ID from the platform's offset.
  static void buildPlatformZone();
  // Listener of the platform events: a time-zone change rebuilds the
  // platform zone.
  static void onPlatformEvent(int type, int count, const intptr_t* payload);
};

}  // namespace com::ravelstone::brume::cldc::util
