#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Facts about the phone that the device services read and that the
// stand-in for the phone system does not give: the system parameters
// (manufacturer, OEM information, platform type), the device name and
// version, the device's unique id and the power time-outs of the registry.
// One process-wide record with defaults for this host; tests change it
// before the first read (the device services read each fact once).
struct HALDeviceFacts {
  std::u16string manufacturer = u"Ravelstone";
  // The OEM information text, which also selects the device model.
  std::u16string oemInfo = u"Brume Linux Host";
  // Empty: the host's name.
  std::u16string deviceName;
  std::u16string platformType = u"PocketPC";
  int32_t osMajor = 5;
  int32_t osMinor = 2;
  // The device id's bytes; empty: derived from the host's machine id.
  // std::nullopt: the device has no id (the system call fails).
  std::optional<std::vector<uint8_t>> uniqueId = std::vector<uint8_t>{};
  // DWORD values of the power keys, by value name ("BattPowerOff",
  // "ACSuspendTimeout", ...), in seconds; absent names are not set.
  std::map<std::string, uint32_t> powerTimeouts;

  static HALDeviceFacts& instance();
};
