#pragma once

#include <mutex>
#include <string>
#include <string_view>

// Every fact about the device that the platform layer would ask the phone
// system for. There is one process-wide instance. It starts with sensible
// defaults, some of them read from the host, and tests may change any fact.
class DeviceProfile {
 public:
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

 private:
  DeviceProfile();

  mutable std::mutex mutex_;
  std::u16string languageId_;
};
