// Fuzz target: the properties-file reader over arbitrary bytes. The first
// byte chooses the file (even: "sys.prop", odd: "app.prop"); the rest is the
// file's content. Every entry read must be found again by its key with a
// value that fits the buffer its length announces, and the MIDlet name must
// always be a non-empty text.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "HALProperties.h"
#include "HALString.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// Looks `key` up and reads its value whole and cut to half its length.
void lookUp(int store, const std::u16string& key) {
  const int32_t keyLength = static_cast<int32_t>(key.size());
  const bool system = store == HAL_SYSTEM_PROPERTIES;
  const int32_t length = system ? HAL_getSystemPropertyLength(key.data(), keyLength)
                                : HAL_getApplicationPropertyLength(key.data(), keyLength);
  if (length < 0) return;
  for (int32_t room : {length, length / 2}) {
    std::u16string value(static_cast<size_t>(room) + 1, u'#');
    int32_t n = room;
    const HALStatus status = system ? HAL_getSystemProperty(key.data(), keyLength, value.data(), &n)
                                    : HAL_getApplicationProperty(key.data(), keyLength, value.data(), &n);
    check(status == HAL_OK && n == room && value[static_cast<size_t>(room)] == u'#');
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int store = data[0] % 2 == 0 ? HAL_SYSTEM_PROPERTIES : HAL_APPLICATION_PROPERTIES;
  HAL_freeProperties();
  HAL_addPropertiesText(store, data + 1, size - 1);
  // Keys made of the input's own lines, up to their first colon.
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const std::string key = line.substr(0, line.find(':'));
    lookUp(store, std::u16string(key.begin(), key.end()));
    start = end + 1;
  }
  lookUp(store, u"MIDlet-Name");
  HALString* name = HAL_getMIDletName();
  check(name != nullptr && name->length() > 0);
  HALString::release(name);
  HAL_freeProperties();
  return 0;
}
