#include "HALKeys.h"

#include <atomic>
#include <cstring>

namespace {

std::atomic<uint32_t> pressedMask{0};
std::atomic<uint32_t> releasedMask{0};

// The virtual key a key code stands for, the inverse of the translation.
int64_t virtualKeyOf(int32_t code) {
  static constexpr int32_t kNegative[] = {
      /* -1 */ 38, 40, 37, 39, 13, 112, 113, 12, 27, 114, 115, 91, 117, 118, 173, 0, 0,
      /* -18, -19: none */ -1, -1,
      /* -20 */ 172, 127, 181, 44, 38, 40, 37, 39, 13};
  if (code < 0 && code >= -28 && kNegative[-code - 1] >= 0) return kNegative[-code - 1];
  if (code == 35) return 120;
  if (code == 42) return 119;
  if (code >= 48 && code <= 57) return code + 48;
  if ((code >= 65 && code <= 90) || code == 32 || code == 9 || code == 27) return code;
  return int64_t{code} + 1500;
}

const char16_t* nameOf(int64_t vk) {
  switch (vk) {
    case 0: return u"Unknown";
    case 13: return u"Action";
    case 27: return u"Back";
    case 37: return u"Left";
    case 38: return u"Up";
    case 39: return u"Right";
    case 40: return u"Down";
    case 91: return u"Home screen";
    case 112: return u"Softkey 1";
    case 113: return u"Softkey 2";
    case 114: return u"Talk";
    case 115: return u"End";
    case 117: return u"Volume Up";
    case 118: return u"Volume Down";
    case 119: return u"*";
    case 120: return u"#";
    case 121: return u"Record";
    case 122: return u"Symbol";
    case 127: return u"Speakerphone";
    case 128: return u"Flip";
    case 129: return u"Power";
    case 130: return u"Red";
    case 131: return u"Arrow Rocker";
    case 132: return u"Arrow D-Pad";
    case 134: return u"Action Rocker";
    case 135: return u"Voice Dial";
    default: return u"";
  }
}

}  // namespace

int32_t HAL_translateVirtualKey(uint32_t vk, bool wheel) {
  if (vk >= 48 && vk <= 57) return static_cast<int32_t>(vk);
  if (vk >= 96 && vk <= 105) return static_cast<int32_t>(vk) - 48;
  switch (vk) {
    case 0: return 0;
    case 38: return wheel ? -24 : -1;
    case 40: return wheel ? -25 : -2;
    case 37: return wheel ? -26 : -3;
    case 39: return wheel ? -27 : -4;
    case 13: case 41: return wheel ? -28 : -5;
    case 112: return -6;
    case 113: return -7;
    case 12: return -8;
    case 8: case 27: return -9;
    case 114: return -10;
    case 115: return -11;
    case 18: case 36: case 91: case 164: case 165: return -12;
    case 117: case 175: return -13;
    case 118: case 174: return -14;
    case 173: return -15;
    case 170: case 171: case 172: return -20;
    case 127: return -21;
    case 179: case 181: return -22;
    case 44: return -23;
    case 35: case 120: return 35;
    case 42: case 106: case 119: return 42;
    case 107: return 43;
    case 109: case 189: return 45;
    case 110: case 190: return 46;
    case 111: case 191: return 47;
    case 108: return 124;
    case 46: return 127;
    case 186: return 59;
    case 187: return 61;
    case 188: return 44;
    case 192: return 34;
    case 219: return 91;
    case 220: return 92;
    case 221: return 93;
    case 222: return 39;
    default: break;
  }
  if ((vk >= 65 && vk <= 90) || vk == 32 || vk == 9) return static_cast<int32_t>(vk);
  return static_cast<int32_t>(static_cast<int64_t>(vk) - 1500);
}

int32_t HAL_getGameAction(int32_t keyCode) {
  switch (keyCode) {
    case -1: return 1;
    case -2: return 6;
    case -3: return 2;
    case -4: return 5;
    case -5: return 8;
    default: return 0;
  }
}

int32_t HAL_getKeyCode(int32_t gameAction) {
  switch (gameAction) {
    case 1: return -1;
    case 2: return -3;
    case 5: return -4;
    case 6: return -2;
    case 8: return -5;
    default: return 0;
  }
}

int32_t HAL_getKeyName(int32_t keyCode, char16_t* buffer, int32_t* outLength) {
  const char16_t* name = nameOf(virtualKeyOf(keyCode));
  const auto length = static_cast<int32_t>(std::char_traits<char16_t>::length(name));
  if (buffer) std::memcpy(buffer, name, sizeof(char16_t) * static_cast<size_t>(length));
  if (outLength) *outLength = length;
  return length;
}

void HAL_noteGameAction(int32_t keyCode, bool pressed) {
  const int32_t action = HAL_getGameAction(keyCode);
  if (action == 0) return;
  const uint32_t bit = uint32_t{1} << action;
  if (pressed) {
    releasedMask.fetch_and(~bit);
    pressedMask.fetch_or(bit);
  } else {
    releasedMask.fetch_or(bit);
  }
}

uint32_t HAL_getKeyStates() {
  const uint32_t released = releasedMask.exchange(0);
  return pressedMask.fetch_and(~released);
}
