#pragma once

// A canvas that logs the key transitions the touch key manager reports, and
// a fixture with helpers to register regions and feed pointer events.

#include <string>
#include <vector>

#include "../engine/EngineFixture.h"
#include "tq_input_PointerInputKeyManager.h"
#include "tq_input_PointerInputKeyRegion.h"

namespace keyregions {

using Manager = tq::input::PointerInputKeyManager;
using Region = tq::input::PointerInputKeyRegion;

class RecordingCanvas : public enginetest::ProbeCanvas {
  VM_CLASS(RecordingCanvas, enginetest::ProbeCanvas)

 public:
  VMPtr<RecordingCanvas> _VM_init(VMPtr<MIDlet> owner) {
    Base::_VM_init(owner);
    return VMPtr<RecordingCanvas>(this);
  }
  void pressKey(int32_t key) override {
    log.push_back("+" + std::to_string(key));
    ProbeCanvas::pressKey(key);
  }
  void releaseKey(int32_t key) override {
    log.push_back("-" + std::to_string(key));
    ProbeCanvas::releaseKey(key);
  }
  // "+1 -1": the transitions since the last call.
  std::string take() {
    std::string out;
    for (const std::string& s : log) out += (out.empty() ? "" : " ") + s;
    log.clear();
    return out;
  }

  std::vector<std::string> log;
};

class KeyRegionFixture : public enginetest::EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    VMPtr<enginetest::ProbeMIDlet> owner = enginetest::ProbeMIDlet::_VM_new();
    owner->_VM_init();
    VMPtr<RecordingCanvas> made = RecordingCanvas::_VM_new();
    made->_VM_init(owner);
    canvas = made.get();  // the canvas class keeps its instance
    Manager::init();
    Manager::originX = 0;
    Manager::originY = 0;
  }
  // A registered latching region.
  static VMPtr<Region> add(int32_t type, int32_t x, int32_t y, int32_t w, int32_t h) {
    VMPtr<Region> r = Region::create(type, x, y, w, h);
    EXPECT_TRUE(Manager::addRegion(r));
    return r;
  }
  static void press(int32_t x, int32_t y) { Manager::pointerEvent(0, x, y, 1, 1); }
  static void drag(int32_t x, int32_t y) { Manager::pointerEvent(0, x, y, 1, 0); }
  static void release(int32_t x, int32_t y) { Manager::pointerEvent(0, x, y, 0, 1); }

  RecordingCanvas* canvas = nullptr;
};

}  // namespace keyregions
