// Key recording: the state bytes after sequences of events and latches,
// keypad folding, the count's saturation, raw key numbers, resets, the
// masks and first-key queries, key numbers handed out, and events from
// another thread while the canvas thread latches.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "HALEvents.h"
#include "JavaTask.h"
#include "VMThread.h"

namespace enginetest {
namespace {

class Keys : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    canvas = makeCanvas().get();  // never shown: the test thread latches; kept as the instance
  }
  ProbeCanvas* canvas = nullptr;
};

// One step: 'p' keyPressed, 'r' keyReleased, 'k' pressKey, 'u' releaseKey,
// 'l' latchKeys, 'z' resetKeys.
struct Step {
  char op;
  int32_t value = 0;
};

struct KeyCase {
  const char* name;
  std::vector<Step> steps;
  int32_t keyNumber;
  int32_t expected;  // the frame state byte after the steps
  bool anyKey;
};

// `steps` `times` over, then a latch.
std::vector<Step> repeatThenLatch(const std::vector<Step>& steps, int times) {
  std::vector<Step> out;
  for (int i = 0; i < times; ++i) out.insert(out.end(), steps.begin(), steps.end());
  out.push_back({'l'});
  return out;
}

TEST_F(Keys, StateBytesAsATable) {
  constexpr int32_t kFive = 21;  // the key number of '5'
  const KeyCase cases[] = {
      {"'5' pressed and released within a frame", {{'p', '5'}, {'r', '5'}, {'l'}}, kFive, 1 | 64 | 128, true},
      {"... and the frame after it", {{'p', '5'}, {'r', '5'}, {'l'}, {'l'}}, kFive, 0, false},
      {"'5' held: the first frame", {{'p', '5'}, {'l'}}, kFive, 1 | 64, true},
      {"'5' held: later frames", {{'p', '5'}, {'l'}, {'l'}, {'l'}}, kFive, 64, false},
      {"'5' released after being held", {{'p', '5'}, {'l'}, {'l'}, {'r', '5'}, {'l'}}, kFive, 128, false},
      {"a repeated press of a held key counts once", {{'p', '5'}, {'p', '5'}, {'l'}}, kFive, 1 | 64, true},
      {"'k' records as '5'", {{'p', 'k'}, {'r', 'k'}, {'l'}}, kFive, 1 | 64 | 128, true},
      {"U+00F6 records as '8'", {{'p', 0xF6}, {'l'}}, 24, 1 | 64, true},
      {"',' records as '*'", {{'p', ','}, {'l'}}, 10, 1 | 64, true},
      {"64 presses in a frame count 63", repeatThenLatch({{'p', '5'}, {'r', '5'}}, 64), kFive,
       63 | 64 | 128, true},
      {"key code 13 is key number 8", {{'p', 13}, {'l'}}, 8, 1 | 64, true},
      {"a code without a key still counts as a key", {{'p', 1000}, {'l'}}, kFive, 0, true},
      {"a release of a key that is not held does nothing", {{'r', '5'}, {'l'}}, kFive, 0, false},
      {"pressKey(-7) records key number 70", {{'k', -7}, {'l'}}, 70, 1 | 64, true},
      {"releaseKey(-7) after it", {{'k', -7}, {'l'}, {'u', -7}, {'l'}}, 70, 128, false},
      {"resetKeys while '5' is held: the next frame sees a release", {{'p', '5'}, {'l'}, {'z'}, {'l'}}, kFive, 128,
       false},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.name);
    canvas->resetKeys();
    canvas->latchKeys();
    canvas->latchKeys();
    for (const Step& s : c.steps) {
      switch (s.op) {
        case 'p': canvas->keyPressed(s.value); break;
        case 'r': canvas->keyReleased(s.value); break;
        case 'k': canvas->pressKey(s.value); break;
        case 'u': canvas->releaseKey(s.value); break;
        case 'l': canvas->latchKeys(); break;
        case 'z': canvas->resetKeys(); break;
        default: FAIL();
      }
    }
    const int32_t key = c.keyNumber < 64 ? c.keyNumber : 63 - c.keyNumber;
    EXPECT_EQ(canvas->getKeyState(key), c.expected);
    EXPECT_EQ(canvas->getKeyPressCount(key), c.expected & 63);
    EXPECT_EQ(canvas->isKeyPressed(key), (c.expected & 63) != 0);
    EXPECT_EQ(canvas->isKeyHeld(key), (c.expected & 64) != 0);
    EXPECT_EQ(canvas->isKeyReleased(key), (c.expected & 128) != 0);
    EXPECT_EQ(canvas->isAnyKeyPressed(), c.anyKey);
  }
}

TEST_F(Keys, KeysOutsideTheRangeRecordNothing) {
  for (int32_t key : {0, 64, -65, 1000}) {
    canvas->pressKey(key);
    EXPECT_EQ(canvas->getKeyState(key), 0);
  }
  canvas->latchKeys();
  for (int32_t i = 0; i < 128; ++i) EXPECT_EQ(canvas->frameKeys->at(i), 0) << i;
  EXPECT_EQ(tq::TqCanvas::keyIndexOf(-64), 127);
  EXPECT_EQ(tq::TqCanvas::keyIndexOf(-1), 64);
}

TEST_F(Keys, MasksAndTheFirstKeyNameTheKeyItself) {
  canvas->keyPressed(35);  // '#': key number 3
  canvas->keyPressed(-4);  // key number 5
  canvas->pressKey(-7);    // key number 70: beyond the masks
  canvas->latchKeys();
  EXPECT_EQ(canvas->getPressedKeys(), (1 << 3) | (1 << 5));
  EXPECT_EQ(canvas->getHeldKeys(), (1 << 3) | (1 << 5));
  EXPECT_EQ(canvas->getReleasedKeys(), 0);
  EXPECT_EQ(canvas->getFirstPressedKey(), 3);
  EXPECT_EQ(canvas->getFirstHeldKey(), 3);
  EXPECT_EQ(canvas->getFirstReleasedKey(), 0);
  canvas->keyReleased(35);
  EXPECT_EQ(canvas->getReleasedKeys(), 0);  // cached until the next latch
  canvas->latchKeys();
  EXPECT_EQ(canvas->getPressedKeys(), 0);
  EXPECT_EQ(canvas->getHeldKeys(), 1 << 5);
  EXPECT_EQ(canvas->getReleasedKeys(), 1 << 3);
  EXPECT_EQ(canvas->getFirstHeldKey(), 5);
  EXPECT_EQ(canvas->getFirstReleasedKey(), 3);
}

TEST_F(Keys, KeyNumbersAreHandedOutDownTo41) {
  for (int32_t expected = 63; expected >= 41; --expected) EXPECT_EQ(canvas->allocateKeyNumber(), expected);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(canvas->allocateKeyNumber(), 0);
}

TEST_F(Keys, TapKeyPressesAndReleasesInOneFrame) {
  canvas->tapKey('5');
  canvas->latchKeys();
  EXPECT_EQ(canvas->getKeyState(21), 1 | 64 | 128);
}

// Key events raised on another Java thread while the canvas thread latches
// every frame: every frame byte is consistent and the key ends up.
TEST_F(Keys, EventsFromAnotherThreadWhileTheCanvasLatches) {
  VMPtr<java::lang::Thread> canvasThread = tq::TqCanvas::canvasThread;
  int64_t presses = 0;
  int32_t inconsistent = 0;
  canvas->onTick = [&](ProbeCanvas* c) {
    c->latchKeys();
    const int32_t state = c->getKeyState(21);
    presses += state & 63;
    if ((state & 63) != 0 && (state & 64) == 0) ++inconsistent;
  };
  raise(HAL_EVENT_RESUME, {});
  display->setCurrent(VMPtr<ProbeCanvas>(canvas));
  ASSERT_TRUE(waitFor([&] { return canvas->ticks > 0; }));
  constexpr int kPairs = 300;
  VMPtr<java::lang::Thread> producer = java_test::startThread([] {
    for (int i = 0; i < kPairs; ++i) {
      raise(HAL_EVENT_KEY_PRESSED, {'5'});
      VMThread::yield();
      raise(HAL_EVENT_KEY_RELEASED, {'5'});
      VMThread::yield();
    }
  });
  ASSERT_TRUE(waitFor([&] { return !producer->isAlive(); }));
  producer = nullptr;  // joined with the canvas thread by finish
  const int32_t ticks = canvas->ticks;
  ASSERT_TRUE(waitFor([&] { return canvas->ticks > ticks + 2; }));
  EXPECT_EQ(inconsistent, 0);
  EXPECT_GT(presses, 0);
  EXPECT_LE(presses, kPairs);
  EXPECT_FALSE(canvas->isKeyHeld(21));
  finish(VMPtr<ProbeCanvas>(canvas), canvasThread);
}

}  // namespace
}  // namespace enginetest
