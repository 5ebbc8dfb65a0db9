// Key codes and names, the key manager's hold, repeat and character rules,
// the latched game actions, and the pointer manager's filters and quirks,
// all with a fake tick and a recording event sink.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DeviceProfile.h"
#include "HALKeyManager.h"
#include "HALKeys.h"
#include "HALPointerManager.h"
#include "HALProperties.h"

namespace {

struct Event {
  int type;
  std::vector<intptr_t> payload;
  bool operator==(const Event&) const = default;
};

std::vector<Event> events;
uint64_t now = 1000;

void record(int type, int count, const intptr_t* payload) { events.push_back({type, {payload, payload + count}}); }

std::string show(const std::vector<Event>& list) {
  std::string out;
  for (const Event& e : list) {
    out += "(" + std::to_string(e.type);
    for (intptr_t w : e.payload) out += " " + std::to_string(w);
    out += ")";
  }
  return out;
}

class Input : public testing::Test {
 protected:
  void SetUp() override {
    events.clear();
    DeviceProfile::instance().setTickCounter([] { return now; });
  }
};

constexpr intptr_t kRepeat = intptr_t{1} << 30;

TEST_F(Input, VirtualKeysTranslate) {
  const struct {
    uint32_t vk;
    bool wheel;
    int32_t code;
  } cases[] = {
      {53, false, 53},   {101, false, 53}, {96, false, 48},  {65, false, 65},   {90, false, 90},
      {32, false, 32},   {9, false, 9},    {27, false, -9},  {8, false, -9},    {38, false, -1},
      {40, false, -2},   {37, false, -3},  {39, false, -4},  {38, true, -24},   {40, true, -25},
      {37, true, -26},   {39, true, -27},  {13, false, -5},  {41, true, -28},   {112, false, -6},
      {113, false, -7},  {12, false, -8},  {114, false, -10}, {115, false, -11}, {164, false, -12},
      {175, false, -13}, {174, false, -14}, {173, false, -15}, {171, false, -20}, {127, false, -21},
      {181, false, -22}, {44, false, -23}, {120, false, 35}, {106, false, 42},  {107, false, 43},
      {189, false, 45},  {190, false, 46}, {191, false, 47}, {108, false, 124}, {46, false, 127},
      {186, false, 59},  {187, false, 61}, {188, false, 44}, {192, false, 34},  {219, false, 91},
      {220, false, 92},  {221, false, 93}, {222, false, 39}, {0, false, 0},     {200, false, -1300},
      {16, false, -1484},
  };
  for (const auto& c : cases) EXPECT_EQ(HAL_translateVirtualKey(c.vk, c.wheel), c.code) << c.vk;
}

TEST_F(Input, GameActionsAndKeyNames) {
  const int32_t codes[] = {-1, -3, -4, -2, -5};
  const int32_t actions[] = {1, 2, 5, 6, 8};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(HAL_getGameAction(codes[i]), actions[i]);
    EXPECT_EQ(HAL_getKeyCode(actions[i]), codes[i]);
  }
  EXPECT_EQ(HAL_getGameAction(53), 0);
  EXPECT_EQ(HAL_getKeyCode(3), 0);
  const struct {
    int32_t code;
    const char16_t* name;
  } names[] = {
      {-1, u"Up"}, {-24, u"Up"}, {-5, u"Action"}, {-28, u"Action"}, {-9, u"Back"}, {27, u"Back"},
      {-6, u"Softkey 1"}, {-7, u"Softkey 2"}, {-12, u"Home screen"}, {-13, u"Volume Up"},
      {35, u"#"}, {42, u"*"}, {-16, u"Unknown"}, {53, u""}, {65, u""}, {-1300, u""},
      {-1500 + 135, u"Voice Dial"}, {-18, u""}, {INT32_MAX, u""}, {INT32_MIN, u""},
  };
  for (const auto& c : names) {
    char16_t buffer[HAL_KEY_NAME_CAPACITY];
    int32_t length = -1;
    EXPECT_EQ(HAL_getKeyName(c.code, buffer, &length), length);
    EXPECT_EQ(std::u16string(buffer, static_cast<size_t>(length)), c.name) << c.code;
  }
}

// One step of a key script: at `time`, a message; then the events expected.
struct KeyStep {
  uint64_t time;
  char message;  // 'd' key down, 'u' key up, 'c' character
  uint32_t value;
  intptr_t lParam;
  std::vector<Event> expected;
};

void runKeyScript(HALKeyManager& keys, const std::vector<KeyStep>& script) {
  for (size_t i = 0; i < script.size(); ++i) {
    const KeyStep& step = script[i];
    now = step.time;
    events.clear();
    if (step.message == 'd') keys.keyDown(step.value, step.lParam);
    if (step.message == 'u') keys.keyUp(step.value, step.lParam);
    if (step.message == 'c') keys.character(step.value);
    EXPECT_EQ(show(events), show(step.expected)) << "step " << i;
  }
}

TEST_F(Input, HeldKeyRepeatsAfterItsDelay) {
  HALKeyManager keys(record);
  runKeyScript(keys, {
      {1000, 'd', 38, 0, {{8, {-1}}}},
      {1400, 'd', 38, kRepeat, {{10, {-1}}}},   // the first repeat message
      {1450, 'd', 38, kRepeat, {}},             // repeating began at 1400: dropped
      {1499, 'd', 38, kRepeat, {}},
      {1500, 'd', 38, kRepeat, {{10, {-1}}}},
      {1550, 'd', 38, kRepeat, {{10, {-1}}}},
      {1560, 'u', 38, 0, {{9, {-1}}}},
      {1570, 'u', 53, 0, {{8, {53}}, {9, {53}}}},  // no recorded press
  });
}

TEST_F(Input, RepeatTimingSurvivesTheTickWrap) {
  HALKeyManager keys(record);
  runKeyScript(keys, {
      {0xFFFFFFF0ull, 'd', 40, 0, {{8, {-2}}}},
      {0xFFFFFFF8ull, 'd', 40, kRepeat, {{10, {-2}}}},
      {0x100000010ull, 'd', 40, kRepeat, {}},  // 24 ms later, across the wrap
      {0x100000080ull, 'd', 40, kRepeat, {{10, {-2}}}},
  });
}

TEST_F(Input, CharactersGiveKeyCodesPerShiftState) {
  HALKeyManager keys(record);
  runKeyScript(keys, {
      {1000, 'c', 'a', 0, {}},
      {1000, 'd', 65, 0, {{8, {'a'}}}},
      {1010, 'u', 65, 0, {{9, {'a'}}}},   // the character kept for the key
      {1020, 'd', 16, 0, {{8, {-1484}}}},
      {1030, 'c', 'A', 0, {}},
      {1030, 'c', 'B', 0, {}},            // one is pending already: ignored
      {1030, 'd', 65, 0, {{8, {'A'}}}},
      {1040, 'u', 65, 0, {{9, {'A'}}}},
      {1050, 'u', 16, 0, {{9, {-1484}}}},
      {1060, 'd', 65, 0, {{8, {'a'}}}},
  });
}

TEST_F(Input, WheelKeysNeedTheDevice) {
  HALKeyManager plain(record);
  HALKeyManager wheel(record, [](uint32_t, uint32_t) { return true; });
  plain.keyDown(38, 0);
  wheel.keyDown(38, 0);
  wheel.keyDown(39, 0);
  EXPECT_EQ(show(events), show({{8, {-1}}, {8, {-24}}, {8, {-4}}}));
}

TEST_F(Input, KeyStatesLatchPressesAndKeepKeysPressedAgain) {
  HALKeyManager keys(record);
  HAL_getKeyStates();
  keys.keyDown(38, 0);  // UP
  keys.keyUp(38, 0);
  EXPECT_EQ(HAL_getKeyStates(), 1u << 1);  // a short press is seen once
  EXPECT_EQ(HAL_getKeyStates(), 0u);
  keys.keyDown(39, 0);  // RIGHT held
  EXPECT_EQ(HAL_getKeyStates(), 1u << 5);
  EXPECT_EQ(HAL_getKeyStates(), 1u << 5);
  keys.keyUp(39, 0);
  keys.keyDown(39, 0);  // pressed again before the next read
  EXPECT_EQ(HAL_getKeyStates(), 1u << 5);
  EXPECT_EQ(HAL_getKeyStates(), 1u << 5);
  keys.keyUp(39, 0);
  EXPECT_EQ(HAL_getKeyStates(), 1u << 5);
  EXPECT_EQ(HAL_getKeyStates(), 0u);
}

// One step of a pointer script.
struct PointerStep {
  uint64_t time;
  char message;  // 'd' down, 'u' up, 'm' move
  int16_t x, y;
  std::vector<Event> expected;
};

void runPointerScript(HALPointerManager& pointer, const std::vector<PointerStep>& script) {
  for (size_t i = 0; i < script.size(); ++i) {
    const PointerStep& step = script[i];
    now = step.time;
    events.clear();
    if (step.message == 'd') pointer.down(step.x, step.y);
    if (step.message == 'u') pointer.up(step.x, step.y);
    if (step.message == 'm') pointer.move(step.x, step.y);
    EXPECT_EQ(show(events), show(step.expected)) << "step " << i;
  }
}

TEST_F(Input, PointerEventsAreFilteredByTimeAndDistance) {
  HALPointerManager pointer(record);
  runPointerScript(pointer, {
      {1000, 'm', 10, 10, {{11, {10, 10}}, {13, {10, 10}}}},  // a drag without press
      {1010, 'm', 12, 13, {}},                               // same place within 30 ms
      {1020, 'm', 15, 13, {{13, {15, 13}}}},                 // 5 pixels away
      {1060, 'm', 15, 13, {{13, {15, 13}}}},                 // 40 ms later
      {1061, 'u', 15, 13, {{12, {15, 13}}}},                 // another type
      {1070, 'u', 15, 13, {{11, {15, 13}}, {12, {15, 13}}}},  // a release without press raises one first
      {1100, 'd', -5, -300, {{11, {-5, -300}}}},             // signed coordinates
  });
}

TEST_F(Input, QuirkPointsDropPressesAndReleases) {
  const std::string text =
      "TQ_WINCE_PROPERTY_BUG_IGNORE_SOME_POINTER_EVENTS: 1\n"
      "TQ_WINCE_PROPERTY_BUG_IGNORE_SOME_POINTER_EVENTS_WHERE: 407,26,505,26\n";
  HAL_addPropertiesText(HAL_SYSTEM_PROPERTIES, reinterpret_cast<const uint8_t*>(text.data()), text.size());
  HALPointerManager pointer(record);
  runPointerScript(pointer, {
      {1000, 'd', 505, 26, {}},
      {1100, 'u', 505, 26, {}},
      {1200, 'd', 26, 505, {{11, {26, 505}}}},
      {1300, 'm', 407, 26, {{13, {407, 26}}}},  // drags are not filtered
      {1400, 'u', 407, 26, {}},
  });
}

}  // namespace
