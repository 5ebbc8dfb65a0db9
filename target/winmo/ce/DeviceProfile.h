#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Every fact about the device that the platform layer would ask the phone
// system for. There is one process-wide instance. It starts with sensible
// defaults, some of them read from the host, and tests may change any fact.
class DeviceProfile {
 public:
  // A reading of the device's clock, in UTC: month 1..12, day 1..31, whole
  // seconds.
  struct DateTime {
    int32_t year;
    int32_t month;
    int32_t day;
    int32_t hour;
    int32_t minute;
    int32_t second;
  };

  // The process-wide profile. It is never destroyed, so threads that are
  // still running while the process exits can read it safely.
  static DeviceProfile& instance();

  DeviceProfile(const DeviceProfile&) = delete;
  DeviceProfile& operator=(const DeviceProfile&) = delete;

  // Sets every fact back to its default, reading the host where a fact
  // comes from the host. The environment may then change some: JME_SCREEN
  // ("320x240": the upright screen size), JME_OEM_INFO (the OEM text) and
  // JME_MEMORY_MB (the free physical and virtual memory in MiB).
  void loadDefaults();

  // The user's language id: four upper-case hexadecimal digits, such as
  // u"0409". Empty when the user's locale cannot be read.
  std::u16string languageId() const;
  void setLanguageId(std::u16string id);

  // The language id for a host locale name such as "it_IT.UTF-8": Italian,
  // French, Portuguese, German, Spanish and Russian have their own ids,
  // every other language (and "C", "POSIX" or no name) is English (US).
  static std::u16string languageIdForLocale(std::string_view localeName);

  // The wall clock: the current date and time in UTC. By default the host's
  // real-time clock. Setting an empty function restores the default.
  DateTime wallClock() const;
  void setWallClock(std::function<DateTime()> source);

  // The tick counter: milliseconds of a 64-bit counter that does not wrap
  // and, on the host, never goes back. By default the host's monotonic
  // clock. Setting an empty function restores the default.
  uint64_t tickMillis() const;
  void setTickCounter(std::function<uint64_t()> source);

  // The time zone: local time minus UTC in milliseconds at the instant
  // `utcSeconds` (seconds since 1970-01-01 00:00 UTC). A fixed offset when
  // one is set; otherwise the host's zone data (the TZ variable when set,
  // read again on every call, else the system's zone), 0 when the host
  // cannot convert the instant. std::nullopt restores the host's zone.
  int32_t zoneOffsetMillis(int64_t utcSeconds) const;
  void setZoneOffset(std::optional<int32_t> offsetMillis);

 private:
  DeviceProfile();

  mutable std::mutex mutex_;
  std::u16string languageId_;
  std::function<DateTime()> wallClock_;
  std::function<uint64_t()> tickCounter_;
  std::optional<int32_t> zoneOffset_;

  // --- program directory ---
 public:
  // The folder of the program's executable file, without a trailing '/':
  // the resource folder "rsc" and the other data folders lie beside the
  // program. By default the folder of /proc/self/exe, found on first use
  // and kept. Setting an empty text restores the default.
  std::string programDirectory() const;
  void setProgramDirectory(std::string directory);

 private:
  mutable std::string programDirectory_;

  // --- the device's hardware, identity and software ---
 public:
  // Memory as the system reports it, in bytes.
  struct MemoryStatus {
    uint64_t totalPhysical;
    uint64_t availablePhysical;
    uint64_t totalVirtual;
    uint64_t availableVirtual;
  };

  // A vendor library the device has: the functions it exports by name.
  struct VendorLibrary {
    std::map<std::u16string, void*> functions;
  };

  // The facts that do not change while the device runs. Defaults: a
  // 240 x 320 portrait screen of 16 bits per pixel with a 26-pixel task bar
  // at the top (the work area is the screen below it), upright, accepting
  // all four orientations; 128 MiB of memory of which 64 MiB are free (and
  // as much virtual memory); the host's name as device name; a device id
  // derived from the host's machine id; no vendor libraries; no power
  // time-outs. The environment may change a few of them at start (see
  // loadDefaults).
  struct Facts {
    int32_t screenWidth = 240;  // upright (portrait), in pixels
    int32_t screenHeight = 320;
    int32_t bitsPerPixel = 16;
    int32_t taskBarHeight = 26;
    // The orientation the display starts in (the system's value: 0, 1, 2
    // or 4, for 0, 90, 180 and 270 degrees) and the set it accepts (a mask
    // of those values; 0 is always accepted).
    uint32_t initialOrientation = 0;
    uint32_t acceptedOrientations = 1 | 2 | 4;
    MemoryStatus memory{128ull << 20, 64ull << 20, 128ull << 20, 64ull << 20};
    std::u16string manufacturer = u"Ravelstone";
    // The OEM information text, which also names the phone's model.
    std::u16string oemInfo = u"Brume Linux Host";
    std::u16string platformType = u"PocketPC";
    int32_t osMajor = 5;
    int32_t osMinor = 2;
    // Empty: the host's name (read when the defaults are loaded).
    std::u16string deviceName;
    // The device id's bytes; empty: derived from the host's machine id and
    // the caller's application data. std::nullopt: the device has no id.
    std::optional<std::vector<uint8_t>> uniqueId = std::vector<uint8_t>{};
    // DWORD values of the power keys of the registry by value name
    // ("BattPowerOff", "ExtPowerOff", "ScreenPowerOff" and, under
    // "Timeouts", "BattSuspendTimeout", "ACSuspendTimeout"), in seconds;
    // absent names are not in the registry.
    std::map<std::string, uint32_t> powerTimeouts;
    // Vendor libraries by file name ("HTCSensorSDK.dll"); none by default.
    std::map<std::u16string, VendorLibrary> vendorLibraries;
  };

  Facts facts() const;
  void setFacts(Facts facts);
  // Changes some facts at once: `change` edits them under the lock (it may
  // not read the profile itself).
  void updateFacts(const std::function<void(Facts&)>& change);
  // Counts the changes of the facts (the registry re-reads what it seeds
  // from them when this moves).
  uint64_t factsGeneration() const;

 private:
  Facts facts_;
  uint64_t factsGeneration_ = 0;

  // --- network ---
 public:
  // How long one network wait may last without progress (connecting,
  // waiting for the reply's header, waiting for body bytes) before the
  // request fails: by default 30 s.
  int32_t networkTimeoutMillis() const;
  void setNetworkTimeoutMillis(int32_t millis);
  // The certificates that HTTPS servers are checked against: a PEM file,
  // or empty (the default) for the host's own store.
  std::string trustedCertificates() const;
  void setTrustedCertificates(std::string pemFile);

 private:
  static constexpr int32_t kDefaultNetworkTimeoutMillis = 30000;
  int32_t networkTimeoutMillis_ = kDefaultNetworkTimeoutMillis;
  std::string trustedCertificates_;
};
