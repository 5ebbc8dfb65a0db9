#pragma once

// A Graphics over a 240 x 320 mutable image that also logs its rectangle,
// clip and image calls as text ("fill 1 2 3 4 #82451a"), so a test can
// compare what a paint asked for as well as the pixels it left.

#include <cstdio>
#include <string>
#include <vector>

#include "HALGraphics.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "javax_microedition_lcdui_Image.h"

namespace gametest {

class RecordingGraphics : public javax::microedition::lcdui::Graphics {
  VM_CLASS(RecordingGraphics, javax::microedition::lcdui::Graphics)

 public:
  using Image = javax::microedition::lcdui::Image;

  static VMPtr<RecordingGraphics> make(int32_t w = 240, int32_t h = 320) {
    VMPtr<Image> image = Image::createImage(w, h);
    VMPtr<RecordingGraphics> g = _VM_new();
    g->Object::_VM_init();
    HAL_createGraphicsWithImage(&g->context, image->nativeImage());
    g->target = image;
    g->setSize(image->width, image->height);
    g->reset(false);
    g->log.clear();
    return g;
  }

  void fillRect(int32_t x, int32_t y, int32_t w, int32_t h) override {
    log.push_back("fill " + rect(x, y, w, h) + " " + colourText());
    Graphics::fillRect(x, y, w, h);
  }
  void drawRect(int32_t x, int32_t y, int32_t w, int32_t h) override {
    log.push_back("rect " + rect(x, y, w, h) + " " + colourText());
    Graphics::drawRect(x, y, w, h);
  }
  void setClip(int32_t x, int32_t y, int32_t w, int32_t h) override {
    log.push_back("clip " + rect(x, y, w, h));
    Graphics::setClip(x, y, w, h);
  }
  void drawRegion(VMPtr<Image> src, int32_t xSrc, int32_t ySrc, int32_t w, int32_t h, int32_t transform,
                  int32_t xDest, int32_t yDest, int32_t anchor) override {
    log.push_back("image " + rect(xDest, yDest, w, h));
    Graphics::drawRegion(src, xSrc, ySrc, w, h, transform, xDest, yDest, anchor);
  }

  // The pixel at (x, y) of the target as 0xAARRGGBB.
  uint32_t pixel(int32_t x, int32_t y) {
    VMPtr<VMArray<int32_t>> one = VMArray<int32_t>::create(1);
    VMPtr<Image>(target)->getRGB(one, 0, 1, x, y, 1, 1);
    return static_cast<uint32_t>(one->at(0));
  }
  // Whether the pixel at (x, y) is `argb` as the image keeps colours (5,
  // 6 and 5 bits of red, green and blue).
  bool shows(int32_t x, int32_t y, uint32_t argb) { return (pixel(x, y) & 0xF8FCF8u) == (argb & 0xF8FCF8u); }
  // The log since the last take, emptied.
  std::vector<std::string> take() {
    std::vector<std::string> out;
    out.swap(log);
    return out;
  }
  // Only the entries that start with `kind`.
  std::vector<std::string> take(const std::string& kind) {
    std::vector<std::string> out;
    for (const std::string& s : take()) {
      if (s.rfind(kind, 0) == 0) out.push_back(s);
    }
    return out;
  }

  std::vector<std::string> log;

 private:
  static std::string rect(int32_t x, int32_t y, int32_t w, int32_t h) {
    return std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(w) + " " + std::to_string(h);
  }
  std::string colourText() {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%06x", static_cast<unsigned>(getColor()));
    return buf;
  }
};

}  // namespace gametest
