#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

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
  // comes from the host.
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
