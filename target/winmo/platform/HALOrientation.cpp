#include "HALOrientation.h"

#include <string>

#include "CeWindows.h"
#include "HALProperties.h"

using namespace ce;

namespace {

constexpr int32_t kNone = 4;
// The system's orientation value of each inside orientation 0..3.
constexpr int32_t kSystemValue[4] = {0, 1, 2, 4};

int32_t table[4] = {0, 1, 2, 3};
int32_t requested = kNone;

// Interface 0 (none) is inside 4, interface 1..4 are inside 0..3.
int32_t insideOf(int32_t code) { return (code + 4) % 5; }
int32_t interfaceOf(int32_t inside) { return (inside + 1) % 5; }

int32_t readEntry(const char16_t* key, int32_t fallback) {
  const auto keyLength = static_cast<int32_t>(std::char_traits<char16_t>::length(key));
  char16_t value[32];
  int32_t length = 32;
  if (HAL_getSystemProperty(key, keyLength, value, &length) != HAL_OK) return fallback;
  const std::u16string text(value, static_cast<size_t>(length));
  if (text == u"normal") return 0;
  if (text == u"rotate90ccw") return 1;
  if (text == u"rotate180") return 2;
  if (text == u"rotate90cw") return 3;
  return fallback;
}

// The display's orientation as an inside code through the table; none
// when the display reports a value the table does not cover.
int32_t currentInside() {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  mode.dmFields = DM_DISPLAYORIENTATION;
  if (ChangeDisplaySettingsExW(nullptr, &mode, nullptr, CDS_TEST, nullptr) != DISP_CHANGE_SUCCESSFUL) return kNone;
  for (int32_t i = 0; i < 4; ++i) {
    if (static_cast<int32_t>(mode.dmDisplayOrientation) == kSystemValue[i]) return table[i];
  }
  return kNone;
}

bool applySystemValue(int32_t value) {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  mode.dmFields = DM_DISPLAYORIENTATION;
  mode.dmDisplayOrientation = static_cast<uint32_t>(value);
  return ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL;
}

}  // namespace

void HAL_initOrientation() {
  static const char16_t* const kKeys[4] = {u"WinceDisplayOrientation0", u"WinceDisplayOrientation90",
                                           u"WinceDisplayOrientation180", u"WinceDisplayOrientation270"};
  for (int32_t i = 0; i < 4; ++i) table[i] = readEntry(kKeys[i], i);
  requested = kNone;
}

HALStatus HAL_getOrientation(int32_t* out) {
  if (!out) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = interfaceOf(currentInside());
  return HAL_OK;
}

HALStatus HAL_setOrientation(int32_t code) {
  if (code < 0 || code > 4) return HAL_BAD_ORIENTATION_ERR;
  requested = insideOf(code);
  if (requested == kNone) return HAL_OK;
  return applySystemValue(kSystemValue[table[requested]]) ? HAL_OK : HAL_BAD_ORIENTATION_ERR;
}

void HAL_reapplyOrientation() {
  if (requested == kNone || currentInside() == table[requested]) return;
  applySystemValue(kSystemValue[table[requested]]);
}

void HAL_applySystemOrientation(int32_t systemValue) { applySystemValue(systemValue); }
