#include "HALDevice.h"

#include <cstdio>
#include <cstring>

#include "CeWindows.h"
#include "DeviceProfile.h"
#include "HALProperties.h"

using namespace ce;

namespace {

std::u16string widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// A text of the system parameters (64 characters at most).
std::u16string systemText(UINT action) {
  char16_t text[65] = {};
  if (!SystemParametersInfoW(action, sizeof text, text, 0)) return std::u16string();
  return std::u16string(text).substr(0, 64);
}

// The device name of the registry (up to 128 bytes).
std::u16string registryDeviceName() {
  HKEY key = 0;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Ident", 0, 0, &key) != ERROR_SUCCESS) return std::u16string();
  char16_t name[65] = {};
  DWORD size = 128;
  DWORD type = 0;
  const long result = RegQueryValueExW(key, u"Name", nullptr, &type, reinterpret_cast<BYTE*>(name), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_SZ) return std::u16string();
  return std::u16string(name);
}

struct ModelEntry {
  const char16_t* oemInfo;
  int id;
};

// OEM information texts of the known models, first match wins.
constexpr ModelEntry kModels[] = {
    {u"Microsoft DeviceEmulator", 2},
    {u"HTC Touch Diamond2 T5353", 3}, {u"HTC Touch Diamond2 T5388", 3},
    {u"HTC Touch Pro2 T7373", 4},
    {u"SAMSUNG", 5},
    {u"SAMSUNG GT-B7610", 6},
    {u"SAMSUNG GT-I8000", 7},
};

struct Quirk {
  const char* name;
  int (*defaultState)();
  const char16_t* (*defaultValue)(const char* subName);
};

constexpr int kUnknown = 1, kOffByDefault = 2, kOnByDefault = 3, kOffByProperty = 4, kOnByProperty = 5;

int pointerQuirkDefault() {
  switch (HAL_getDeviceModelId()) {
    case 3: case 4: case 6: case 7:
      return kOnByDefault;
    case 5: {
      int32_t w = 0, h = 0;
      HAL_getScreenMetrics(&w, &h);
      return (w == 240 && h == 320) || (w == 320 && h == 240) ? kOnByDefault : kOffByDefault;
    }
    default:
      return kOffByDefault;
  }
}

const char16_t* pointerQuirkValue(const char* subName) {
  if (std::strcmp(subName, "WHERE") != 0) return nullptr;
  switch (HAL_getDeviceModelId()) {
    case 3: return u"407,26";
    case 4: return u"407,26,505,26";
    case 5: return u"203,13,247,13";
    case 6: return u"171,13";
    case 7: return u"203,13,251,13";
    default: return nullptr;
  }
}

const Quirk kQuirks[] = {
    {"TQ_WINCE_PROPERTY_BUG_IGNORE_SOME_POINTER_EVENTS", pointerQuirkDefault, pointerQuirkValue},
};
constexpr int kQuirkCount = sizeof kQuirks / sizeof kQuirks[0];
int quirkStates[kQuirkCount] = {kUnknown};

// The system property `name` (8-bit), when present.
bool systemProperty(const std::string& name, std::u16string& value) {
  const std::u16string key = widen(name);
  const int32_t length = HAL_getSystemPropertyLength(key.data(), static_cast<int32_t>(key.size()));
  if (length < 0) return false;
  value.assign(static_cast<size_t>(length), u'\0');
  int32_t n = length;
  if (HAL_getSystemProperty(key.data(), static_cast<int32_t>(key.size()), value.data(), &n) != HAL_OK) return false;
  value.resize(static_cast<size_t>(n));
  return true;
}

// Reads a decimal number at `i` (blanks, a sign, digits), clamped to the
// 32-bit range; false when no digit follows.
bool readNumber(const std::u16string& text, size_t& i, int32_t& out) {
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  if (i >= text.size() || text[i] < u'0' || text[i] > u'9') return false;
  int64_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    if (value <= INT32_MAX) value = value * 10 + (text[i] - u'0');
  }
  if (negative) value = -value;
  out = static_cast<int32_t>(value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : value);
  return true;
}

int findQuirkState(const Quirk& quirk) {
  std::u16string value;
  if (!systemProperty(quirk.name, value)) return quirk.defaultState ? quirk.defaultState() : kOffByDefault;
  if (value == u"false") return kOffByProperty;
  size_t i = 0;
  int32_t number = 0;
  return readNumber(value, i, number) && number != 0 ? kOnByProperty : kOffByProperty;
}

bool quirkValue(int index, const char* subName, std::u16string& value) {
  if (index < 0 || index >= kQuirkCount || !subName) return false;
  const Quirk& quirk = kQuirks[index];
  if (systemProperty(std::string(quirk.name) + "_" + subName, value)) return true;
  const char16_t* fallback = quirk.defaultValue ? quirk.defaultValue(subName) : nullptr;
  if (!fallback) return false;
  value = fallback;
  return true;
}

}  // namespace

const std::u16string& HAL_getManufacturer() {
  static const std::u16string text = systemText(SPI_GETPLATFORMMANUFACTURER);
  return text;
}

const std::u16string& HAL_getModel() {
  static const std::u16string text = systemText(SPI_GETOEMINFO);
  return text;
}

const std::u16string& HAL_getDeviceName() {
  static const std::u16string text = registryDeviceName().substr(0, 64);
  return text;
}

const std::u16string& HAL_getOSName() {
  static const std::u16string text =
      (u"WinCE (WM " + systemText(SPI_GETPLATFORMTYPE) + u")").substr(0, 64);
  return text;
}

const std::u16string& HAL_getOSVersion() {
  static const std::u16string text = [] {
    char version[32];
    const DeviceProfile::Facts facts = DeviceProfile::instance().facts();
    std::snprintf(version, sizeof version, "%d.%d", facts.osMajor, facts.osMinor);
    return widen(version);
  }();
  return text;
}

HALStatus HAL_getDeviceUniqueId(char16_t* buffer, int32_t* inOutLength) {
  if (!buffer || !inOutLength || *inOutLength < 0) return HAL_ILLEGAL_ARGUMENT_ERR;
  static const char kApplicationData[] = "PebX_ZWQR";
  BYTE id[20];
  DWORD size = sizeof id;
  if (GetDeviceUniqueID(reinterpret_cast<const BYTE*>(kApplicationData), 9, 1, id, &size) != ERROR_SUCCESS) {
    return HAL_NOT_IMPLEMENTED_ERR;
  }
  const std::vector<uint8_t> bytes(id, id + size);
  static const char16_t kDigits[] = u"0123456789abcdef";
  int32_t n = 0;
  for (uint8_t b : bytes) {
    if (n < *inOutLength) buffer[n++] = kDigits[b >> 4];
    if (n < *inOutLength) buffer[n++] = kDigits[b & 15];
  }
  *inOutLength = n;
  return HAL_OK;
}

int HAL_getDeviceModelId() {
  static const int id = [] {
    for (const ModelEntry& model : kModels) {
      if (HAL_getModel() == model.oemInfo) return model.id;
    }
    return HAL_MODEL_OTHER;
  }();
  return id;
}

bool HAL_isQuirkOn(int index) {
  if (index < 0 || index >= kQuirkCount) return false;
  if (quirkStates[index] == kUnknown) quirkStates[index] = findQuirkState(kQuirks[index]);
  return quirkStates[index] == kOnByDefault || quirkStates[index] == kOnByProperty;
}

int HAL_getQuirkValue(int index, void* context, const char* subName, char16_t* buffer, int32_t length) {
  std::u16string value;
  if (!buffer || length <= 0 || !quirkValue(index, subName, value)) return 0;
  const size_t n = value.size() < static_cast<size_t>(length) ? value.size() : static_cast<size_t>(length);
  std::memcpy(buffer, value.data(), n * sizeof(char16_t));
  if (n < static_cast<size_t>(length)) buffer[n] = u'\0';
  return 1;
}

void HAL_getQuirkNumbers(int index, void* context, int32_t* numbers, int32_t* inOutCount) {
  if (!inOutCount) return;
  const int32_t capacity = numbers ? *inOutCount : 0;
  *inOutCount = 0;
  std::u16string value;
  if (!quirkValue(index, "WHERE", value)) return;
  size_t i = 0;
  int32_t number = 0;
  while (*inOutCount < capacity && readNumber(value, i, number)) {
    numbers[(*inOutCount)++] = number;
    if (i >= value.size() || value[i] != u',') break;
    ++i;
  }
}
