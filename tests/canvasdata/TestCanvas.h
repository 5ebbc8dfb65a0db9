#pragma once

// A game canvas for tests: it records every level hook it gets as a line
// of text and may read extra bits in a hook. Its thread is stopped by
// stop(), before the test ends.

#include <functional>
#include <string>
#include <vector>

#include "tq_TqCanvas.h"

namespace test::canvasdata {

class TestCanvas : public tq::TqCanvas {
  VM_CLASS(TestCanvas, tq::TqCanvas)

 public:
  // A canvas without a MIDlet whose thread waits to be shown.
  static VMPtr<TestCanvas> make();
  // Ends the canvas thread and waits for it.
  static void stop();

  void tick() override {}
  void paintFrame(VMPtr<Graphics>) override {}
  void levelHeader(int32_t value) override;
  void levelProperties(int32_t a, int32_t columns, int32_t value, int32_t d, int32_t e, int32_t f,
                       int32_t count) override;
  void levelPaletteEntry(int32_t extra, int32_t entry) override;
  void levelSize(int32_t width, int32_t height) override;
  void levelCell(int32_t x, int32_t y, int32_t value) override;
  void levelEntityGroup(int32_t type, int32_t count) override;
  void levelEntity(int32_t type, int32_t x, int32_t y) override;

  std::vector<std::string> hooks;
  // Run after the hook of that name has been recorded (it may read bits).
  std::function<void(TestCanvas*)> afterHeader;
  std::function<void(TestCanvas*)> afterEntity;
};

}  // namespace test::canvasdata
