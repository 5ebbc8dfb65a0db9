#include "HALProperties.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "DeviceProfile.h"
#include "HALArray.h"
#include "HALDevice.h"
#include "HALLocale.h"
#include "HALMemory.h"
#include "HALResource.h"
#include "HALString.h"
#include "HALStringMap.h"
#include "VMServices.h"

namespace {

// One "key: value" entry; key and value live in the same buffer, behind
// the record.
struct PropertyEntry {
  const char16_t* key;
  int32_t keyLength;
  const char16_t* value;
  int32_t valueLength;
};

void clearStore(HALArray& store) {
  while (store.count() > 0) {
    HAL_freeBuffer(store.get(store.count() - 1));
    store.removeAt(store.count() - 1);
  }
}

// The two stores; entries still held when the process ends are freed then.
struct Stores {
  HALArray lists[2];
  ~Stores() {
    clearStore(lists[1]);
    clearStore(lists[0]);
  }
} stores;

HALStringMap* builtin = nullptr;

HALArray* storeOf(int store) {
  return store == HAL_SYSTEM_PROPERTIES || store == HAL_APPLICATION_PROPERTIES ? &stores.lists[store] : nullptr;
}

const PropertyEntry* find(int store, const char16_t* key, int32_t keyLength) {
  if (keyLength < 0 || (keyLength > 0 && !key)) return nullptr;
  const HALArray& entries = stores.lists[store];
  for (int32_t i = entries.count() - 1; i >= 0; --i) {
    const auto* entry = static_cast<const PropertyEntry*>(entries.get(i));
    if (entry->keyLength == keyLength &&
        std::memcmp(entry->key, key, sizeof(char16_t) * static_cast<size_t>(keyLength)) == 0) {
      return entry;
    }
  }
  return nullptr;
}

int32_t lengthOf(int store, const char16_t* key, int32_t keyLength) {
  const PropertyEntry* entry = find(store, key, keyLength);
  return entry ? entry->valueLength : -1;
}

HALStatus copyValue(int store, const char16_t* key, int32_t keyLength, char16_t* buffer, int32_t* inOutLength) {
  if (keyLength < 0 || (keyLength > 0 && !key) || !inOutLength || *inOutLength < 0 ||
      (*inOutLength > 0 && !buffer)) {
    return HAL_ILLEGAL_ARGUMENT_ERR;
  }
  const PropertyEntry* entry = find(store, key, keyLength);
  if (!entry) return HAL_NOT_FOUND_ERR;
  const int32_t n = entry->valueLength < *inOutLength ? entry->valueLength : *inOutLength;
  if (n > 0) std::memcpy(buffer, entry->value, sizeof(char16_t) * static_cast<size_t>(n));
  *inOutLength = n;
  return HAL_OK;
}

// Decodes UTF-8 text into UTF-16 units. A byte that does not start a
// well-formed sequence (bad lead, bad or missing continuation, overlong form,
// surrogate or value past U+10FFFF) is taken as one Latin-1 character, and
// decoding goes on with the next byte. A leading byte-order mark is skipped.
std::u16string decodeText(const uint8_t* p, size_t size) {
  std::u16string units;
  units.reserve(size);
  size_t i = size >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF ? 3 : 0;
  while (i < size) {
    const uint8_t lead = p[i];
    const int extra = lead < 0x80 ? 0 : lead >= 0xC2 && lead <= 0xDF ? 1 : lead >= 0xE0 && lead <= 0xEF ? 2
                      : lead >= 0xF0 && lead <= 0xF4 ? 3 : -1;
    uint32_t c = extra == 0 ? lead : extra == 1 ? lead & 0x1Fu : extra == 2 ? lead & 0x0Fu : lead & 0x07u;
    bool ok = extra >= 0 && size - i > static_cast<size_t>(extra);
    for (int k = 1; ok && k <= extra; ++k) {
      ok = (p[i + k] & 0xC0) == 0x80;
      c = (c << 6) | (p[i + k] & 0x3Fu);
    }
    static constexpr uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (ok && extra > 0) ok = c >= kSmallest[extra] && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
    if (!ok) {
      units.push_back(lead);
      ++i;
      continue;
    }
    if (c >= 0x10000) {
      units.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(c));
    }
    i += static_cast<size_t>(extra) + 1;
  }
  return units;
}

// Splits one line (without its line end) at its first colon.
void addLine(int store, const char16_t* line, size_t length) {
  const char16_t* colon = std::char_traits<char16_t>::find(line, length, u':');
  if (!colon) return;
  const size_t keyLength = static_cast<size_t>(colon - line);
  const size_t valueStart = keyLength + 2 < length ? keyLength + 2 : length;
  HAL_addProperty(store, line, static_cast<int32_t>(keyLength), line + valueStart,
                  static_cast<int32_t>(length - valueStart));
}

void loadFile(int store, const char* fileName) {
  const std::string path = DeviceProfile::instance().programDirectory() + "/properties/" + fileName;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return;
  std::string bytes;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, n);
  std::fclose(file);
  HAL_addPropertiesText(store, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

void addDeviceEntry(const char16_t* key, const std::u16string& value) {
  HAL_addProperty(HAL_SYSTEM_PROPERTIES, key, static_cast<int32_t>(std::char_traits<char16_t>::length(key)),
                  value.data(), static_cast<int32_t>(value.size()));
}

void putUnique(HALStringMap* table, const char* key, const void* value) {
  if (table->get(key, nullptr)) _VM_fatalError("Duplicate property detected!");
  table->put(key, const_cast<void*>(value));
}

// "Wind" (the first four characters of the platform name) and the device id
// in lowercase hexadecimal, or null when the device has no id. A buffer of
// HAL_allocateBuffer, kept by the table for the life of the process.
char* makeUniqueId(const char* platform) {
  char16_t digits[60];
  int32_t count = 60;
  if (HAL_getDeviceUniqueId(digits, &count) != HAL_OK || count <= 0) return nullptr;
  char* text = static_cast<char*>(HAL_allocateBuffer(4 + static_cast<size_t>(count) + 1));
  if (!text) return nullptr;
  std::memcpy(text, "____", 4);
  for (int i = 0; i < 4 && platform[i]; ++i) text[i] = platform[i];
  for (int32_t i = 0; i < count; ++i) text[4 + i] = static_cast<char>(digits[i]);
  text[4 + count] = '\0';
  return text;
}

HALStringMap* makeBuiltin() {
  const char* platform = HAL_getPlatformName();
  const char* version = HAL_getPlatformVersion();
  auto* table = new HALStringMap();
  try {
    putUnique(table, "microedition.configuration", "CLDC-1.1");
    putUnique(table, "microedition.platform", "RavelstoneBrume/PLATFORM_BRIDGE_VERSION");
    putUnique(table, "microedition.encoding", "UTF-8");
    putUnique(table, "microedition.profiles", "MIDP-2.0");
    // An unreadable locale gives no entry rather than an entry with no text.
    if (char* locale = HAL_getLocaleName()) putUnique(table, "microedition.locale", locale);
    putUnique(table, "microedition.commports", "");
    putUnique(table, "microedition.hostname", "");
    putUnique(table, "javax.microedition.io.Connector.protocolpath", "com.ravelstone.brume.midp.io.protocol");
    putUnique(table, "com.ravelstone.brume.software.version", "PLATFORM_BRIDGE_VERSION");
    if (platform) putUnique(table, "com.ravelstone.brume.hal.platform", platform);
    if (version) putUnique(table, "com.ravelstone.brume.hal.version", version);
    if (char* id = makeUniqueId(platform ? platform : "")) putUnique(table, "com.ravelstone.brume.hal.uniqueid", id);
  } catch (...) {
    delete table;
    throw;
  }
  return table;
}

}  // namespace

void HAL_addPropertiesText(int store, const uint8_t* text, size_t size) {
  if (!storeOf(store) || (!text && size > 0)) return;
  const std::u16string units = decodeText(text, size);
  size_t start = 0;
  while (start < units.size()) {
    size_t end = units.find(u'\n', start);
    const size_t next = end == std::u16string::npos ? units.size() : end + 1;
    if (end == std::u16string::npos) end = units.size();
    else if (end > start && units[end - 1] == u'\r') --end;
    addLine(store, units.data() + start, end - start);
    start = next;
  }
}

bool HAL_addProperty(int store, const char16_t* key, int32_t keyLength, const char16_t* value, int32_t valueLength) {
  HALArray* entries = storeOf(store);
  if (!entries || keyLength < 0 || valueLength < 0) return false;
  const size_t units = static_cast<size_t>(keyLength) + static_cast<size_t>(valueLength);
  auto* entry = static_cast<PropertyEntry*>(HAL_allocateBuffer(sizeof(PropertyEntry) + sizeof(char16_t) * units));
  if (!entry) return false;
  auto* text = reinterpret_cast<char16_t*>(entry + 1);
  if (keyLength > 0) std::memcpy(text, key, sizeof(char16_t) * static_cast<size_t>(keyLength));
  if (valueLength > 0) std::memcpy(text + keyLength, value, sizeof(char16_t) * static_cast<size_t>(valueLength));
  *entry = PropertyEntry{text, keyLength, text + keyLength, valueLength};
  if (!entries->append(entry)) {
    HAL_freeBuffer(entry);
    return false;
  }
  return true;
}

int32_t HAL_getPropertyCount(int store) {
  const HALArray* entries = storeOf(store);
  return entries ? entries->count() : 0;
}

void HAL_loadProperties() {
  clearStore(stores.lists[HAL_SYSTEM_PROPERTIES]);
  clearStore(stores.lists[HAL_APPLICATION_PROPERTIES]);
  loadFile(HAL_SYSTEM_PROPERTIES, "sys.prop");
  loadFile(HAL_APPLICATION_PROPERTIES, "app.prop");
  addDeviceEntry(u"device.manufacturer", HAL_getManufacturer());
  addDeviceEntry(u"device.model", HAL_getModel());
  addDeviceEntry(u"device.name", HAL_getDeviceName());
  addDeviceEntry(u"os.name", HAL_getOSName());
  addDeviceEntry(u"os.version", HAL_getOSVersion());
  addDeviceEntry(u"os.arch", u"arm");
}

void HAL_freeProperties() {
  clearStore(stores.lists[HAL_APPLICATION_PROPERTIES]);
  clearStore(stores.lists[HAL_SYSTEM_PROPERTIES]);
}

int32_t HAL_getSystemPropertyLength(const char16_t* key, int32_t keyLength) {
  return lengthOf(HAL_SYSTEM_PROPERTIES, key, keyLength);
}

int32_t HAL_getApplicationPropertyLength(const char16_t* key, int32_t keyLength) {
  return lengthOf(HAL_APPLICATION_PROPERTIES, key, keyLength);
}

HALStatus HAL_getSystemProperty(const char16_t* key, int32_t keyLength, char16_t* buffer, int32_t* inOutLength) {
  return copyValue(HAL_SYSTEM_PROPERTIES, key, keyLength, buffer, inOutLength);
}

HALStatus HAL_getApplicationProperty(const char16_t* key, int32_t keyLength, char16_t* buffer,
                                     int32_t* inOutLength) {
  return copyValue(HAL_APPLICATION_PROPERTIES, key, keyLength, buffer, inOutLength);
}

HALStringMap* HAL_getBuiltinProperties() {
  if (!builtin) builtin = makeBuiltin();
  return builtin;
}

const char* HAL_findBuiltinProperty(const HALStringMap* table, const char* key) {
  void* value = nullptr;
  if (!table || !key || !table->get(key, &value)) return nullptr;
  return static_cast<const char*>(value);
}

HALString* HAL_getMIDletName() {
  static const char16_t kKey[] = u"MIDlet-Name";
  constexpr int32_t kKeyLength = sizeof kKey / sizeof kKey[0] - 1;
  const PropertyEntry* entry = find(HAL_APPLICATION_PROPERTIES, kKey, kKeyLength);
  auto* name = new (std::nothrow) HALString();
  if (!name) return nullptr;
  const bool made = entry && entry->valueLength > 0 ? name->initFromChars(entry->value, entry->valueLength)
                                                    : name->initFromWide(u"_TQ_set_your_MIDlet-Name");
  if (!made) {
    HALString::release(name);
    return nullptr;
  }
  return name;
}
