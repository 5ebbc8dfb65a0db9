#include "HALLocale.h"

#include <cstring>
#include <string>

#include "DeviceProfile.h"
#include "HALMemory.h"

char* HAL_getLocaleName() {
  const std::u16string language = DeviceProfile::instance().languageId();
  if (language.empty()) return nullptr;

  struct Entry {
    const char16_t* language;
    const char* name;
  };
  static constexpr Entry kNames[] = {
      {u"0410", "it-it"}, {u"040C", "fr-fr"}, {u"0816", "pt-pt"},
      {u"0407", "de-de"}, {u"0C0A", "es-es"}, {u"0419", "ru"},
  };
  const char* name = "en-us";
  for (const Entry& entry : kNames) {
    if (language == entry.language) {
      name = entry.name;
      break;
    }
  }

  const size_t size = std::strlen(name) + 1;
  char* result = static_cast<char*>(HAL_allocateBuffer(size));
  if (result) std::memcpy(result, name, size);
  return result;
}
