#pragma once

// A canvas for the grid tests: it logs the region copies it is asked for
// and the key transitions that touch regions report.

#include <string>
#include <vector>

#include "../engine/EngineFixture.h"

namespace gridtest {

class GridCanvas : public enginetest::ProbeCanvas {
  VM_CLASS(GridCanvas, enginetest::ProbeCanvas)

 public:
  VMPtr<GridCanvas> _VM_init(VMPtr<MIDlet> owner) {
    Base::_VM_init(owner);
    return VMPtr<GridCanvas>(this);
  }
  void pressKey(int32_t key) override {
    keys.push_back("+" + std::to_string(key));
    ProbeCanvas::pressKey(key);
  }
  void releaseKey(int32_t key) override {
    keys.push_back("-" + std::to_string(key));
    ProbeCanvas::releaseKey(key);
  }
  // "(sx,sy,w,h)->(dx,dy)" a copy.
  void paintRegion(VMPtr<javax::microedition::lcdui::Image> img, int32_t sx, int32_t sy, int32_t w, int32_t h, VMPtr<Graphics> g, int32_t dx,
                   int32_t dy) override {
    copies.push_back("(" + std::to_string(sx) + "," + std::to_string(sy) + "," + std::to_string(w) + "," +
                     std::to_string(h) + ")->(" + std::to_string(dx) + "," + std::to_string(dy) + ")");
    ProbeCanvas::paintRegion(img, sx, sy, w, h, g, dx, dy);
  }

  std::vector<std::string> copies;
  std::vector<std::string> keys;
};

// A new canvas with a MIDlet of its own; its thread waits for the first
// show.
inline VMPtr<GridCanvas> makeGridCanvas() {
  VMPtr<enginetest::ProbeMIDlet> owner = enginetest::ProbeMIDlet::_VM_new();
  owner->_VM_init();
  VMPtr<GridCanvas> canvas = GridCanvas::_VM_new();
  canvas->_VM_init(owner);
  return canvas;
}

}  // namespace gridtest
