#include "DeviceProfile.h"

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// The host's locale name for messages and text: LC_ALL wins over LANG; an
// empty variable counts as unset.
std::string_view hostLocaleName() {
  for (const char* name : {"LC_ALL", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) return value;
  }
  return {};
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

DeviceProfile::DateTime hostWallClock() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm fields{};
  gmtime_r(&now.tv_sec, &fields);
  return {fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday, fields.tm_hour, fields.tm_min, fields.tm_sec};
}

uint64_t hostTickMillis() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

int32_t hostZoneOffsetMillis(int64_t utcSeconds) {
  // localtime_r reads the TZ variable only once per process; tzset makes it
  // look again, so a zone set while the program runs is honoured.
  tzset();
  const time_t instant = static_cast<time_t>(utcSeconds);
  tm fields{};
  if (localtime_r(&instant, &fields) == nullptr) return 0;
  return static_cast<int32_t>(fields.tm_gmtoff * 1000);
}

std::u16string widen(std::string_view text) { return std::u16string(text.begin(), text.end()); }

DeviceProfile::Facts defaultFacts() {
  DeviceProfile::Facts facts;
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) == 0) facts.deviceName = widen(name);
  if (const char* screen = std::getenv("JME_SCREEN")) {
    int width = 0, height = 0;
    char tail = 0;
    if (std::sscanf(screen, "%dx%d%c", &width, &height, &tail) == 2 && width > 0 && height > 0 && width <= 4096 &&
        height <= 4096) {
      facts.screenWidth = width;
      facts.screenHeight = height;
    }
  }
  if (const char* oem = std::getenv("JME_OEM_INFO"); oem && *oem) facts.oemInfo = widen(oem);
  if (const char* memory = std::getenv("JME_MEMORY_MB")) {
    char* end = nullptr;
    const unsigned long long mib = std::strtoull(memory, &end, 10);
    if (end != memory && *end == '\0' && mib > 0 && mib < (1ull << 20)) {
      facts.memory.availablePhysical = facts.memory.availableVirtual = mib << 20;
      facts.memory.totalPhysical = std::max<uint64_t>(facts.memory.totalPhysical, mib << 20);
      facts.memory.totalVirtual = std::max<uint64_t>(facts.memory.totalVirtual, mib << 20);
    }
  }
  return facts;
}

}  // namespace

DeviceProfile& DeviceProfile::instance() {
  static DeviceProfile* const profile = new DeviceProfile();
  return *profile;
}

DeviceProfile::DeviceProfile() { loadDefaults(); }

void DeviceProfile::loadDefaults() {
  std::u16string language = languageIdForLocale(hostLocaleName());
  Facts facts = defaultFacts();
  std::lock_guard<std::mutex> lock(mutex_);
  languageId_ = std::move(language);
  facts_ = std::move(facts);
  ++factsGeneration_;
  wallClock_ = nullptr;
  tickCounter_ = nullptr;
  zoneOffset_.reset();
  networkTimeoutMillis_ = kDefaultNetworkTimeoutMillis;
  trustedCertificates_.clear();
}

std::u16string DeviceProfile::languageId() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return languageId_;
}

void DeviceProfile::setLanguageId(std::u16string id) {
  std::lock_guard<std::mutex> lock(mutex_);
  languageId_ = std::move(id);
}

// The clock and zone sources are copied under the lock and called outside
// it, so a source may itself read the profile.

DeviceProfile::DateTime DeviceProfile::wallClock() const {
  std::function<DateTime()> source;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    source = wallClock_;
  }
  return source ? source() : hostWallClock();
}

void DeviceProfile::setWallClock(std::function<DateTime()> source) {
  std::lock_guard<std::mutex> lock(mutex_);
  wallClock_ = std::move(source);
}

uint64_t DeviceProfile::tickMillis() const {
  std::function<uint64_t()> source;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    source = tickCounter_;
  }
  return source ? source() : hostTickMillis();
}

void DeviceProfile::setTickCounter(std::function<uint64_t()> source) {
  std::lock_guard<std::mutex> lock(mutex_);
  tickCounter_ = std::move(source);
}

int32_t DeviceProfile::zoneOffsetMillis(int64_t utcSeconds) const {
  std::optional<int32_t> fixed;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    fixed = zoneOffset_;
  }
  return fixed ? *fixed : hostZoneOffsetMillis(utcSeconds);
}

void DeviceProfile::setZoneOffset(std::optional<int32_t> offsetMillis) {
  std::lock_guard<std::mutex> lock(mutex_);
  zoneOffset_ = offsetMillis;
}

std::u16string DeviceProfile::languageIdForLocale(std::string_view localeName) {
  // The language is the part before the territory, code set or modifier:
  // "pt_BR.UTF-8@euro" -> "pt".
  std::string language;
  for (char c : localeName) {
    if (c == '_' || c == '.' || c == '@' || c == '-') break;
    language += lowerAscii(c);
  }
  struct Entry {
    const char* language;
    const char16_t* id;
  };
  static constexpr Entry kIds[] = {
      {"it", u"0410"}, {"fr", u"040C"}, {"pt", u"0816"},
      {"de", u"0407"}, {"es", u"0C0A"}, {"ru", u"0419"},
  };
  for (const Entry& entry : kIds) {
    if (language == entry.language) return entry.id;
  }
  return u"0409";
}

// --- program directory ---

std::string DeviceProfile::programDirectory() const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (programDirectory_.empty()) {
    std::string path(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
    path.resize(n > 0 ? static_cast<size_t>(n) : 0);
    const size_t slash = path.rfind('/');
    // The root folder keeps its '/'; an unreadable link gives "." (the
    // working folder).
    programDirectory_ = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  }
  return programDirectory_;
}

void DeviceProfile::setProgramDirectory(std::string directory) {
  std::lock_guard<std::mutex> lock(mutex_);
  programDirectory_ = std::move(directory);
}

// --- the device's hardware, identity and software ---

DeviceProfile::Facts DeviceProfile::facts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return facts_;
}

void DeviceProfile::setFacts(Facts facts) {
  std::lock_guard<std::mutex> lock(mutex_);
  facts_ = std::move(facts);
  ++factsGeneration_;
}

void DeviceProfile::updateFacts(const std::function<void(Facts&)>& change) {
  std::lock_guard<std::mutex> lock(mutex_);
  change(facts_);
  ++factsGeneration_;
}

uint64_t DeviceProfile::factsGeneration() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return factsGeneration_;
}

// --- network ---

int32_t DeviceProfile::networkTimeoutMillis() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return networkTimeoutMillis_;
}

void DeviceProfile::setNetworkTimeoutMillis(int32_t millis) {
  std::lock_guard<std::mutex> lock(mutex_);
  networkTimeoutMillis_ = millis > 0 ? millis : kDefaultNetworkTimeoutMillis;
}

std::string DeviceProfile::trustedCertificates() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return trustedCertificates_;
}

void DeviceProfile::setTrustedCertificates(std::string pemFile) {
  std::lock_guard<std::mutex> lock(mutex_);
  trustedCertificates_ = std::move(pemFile);
}
