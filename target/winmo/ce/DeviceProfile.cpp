#include "DeviceProfile.h"

#include <cstdlib>
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

}  // namespace

DeviceProfile& DeviceProfile::instance() {
  static DeviceProfile* const profile = new DeviceProfile();
  return *profile;
}

DeviceProfile::DeviceProfile() { loadDefaults(); }

void DeviceProfile::loadDefaults() {
  std::u16string language = languageIdForLocale(hostLocaleName());
  std::lock_guard<std::mutex> lock(mutex_);
  languageId_ = std::move(language);
}

std::u16string DeviceProfile::languageId() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return languageId_;
}

void DeviceProfile::setLanguageId(std::u16string id) {
  std::lock_guard<std::mutex> lock(mutex_);
  languageId_ = std::move(id);
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
