#pragma once

// A game canvas for the drawing tests: no hooks of its own. Its thread
// waits to be shown and is ended by stop() before the test ends.

#include <cstdint>
#include <vector>

#include "tq_TqCanvas.h"

namespace test::canvasdraw {

class DrawCanvas : public tq::TqCanvas {
  VM_CLASS(DrawCanvas, tq::TqCanvas)

 public:
  static VMPtr<DrawCanvas> make();
  static void stop();

  void tick() override {}
  void paintFrame(VMPtr<Graphics>) override {}
};

// Java arrays from and to plain vectors.
VMPtr<VMArray<int8_t>> bytesOf(const std::vector<uint8_t>& v);
std::vector<uint8_t> vectorOf(const VMPtr<VMArray<int8_t>>& a);
VMPtr<VMArray<int32_t>> intsOf(const std::vector<int32_t>& v);

// The pixels of an image as the RGB565 surfaces keep them (5, 6 and 5
// bits of each colour, alpha whole).
std::vector<uint32_t> pixelsOf(const VMPtr<javax::microedition::lcdui::Image>& image);

}  // namespace test::canvasdraw
