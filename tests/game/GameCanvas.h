#pragma once

// A bare game canvas for the game's tests: no MIDlet, no game; its thread
// waits to be shown and is ended by stop() before the test ends.

#include "tq_TqCanvas.h"

namespace gametest {

class BareCanvas : public tq::TqCanvas {
  VM_CLASS(BareCanvas, tq::TqCanvas)

 public:
  static VMPtr<BareCanvas> make();
  static void stop();
  void tick() override {}
  void paintFrame(VMPtr<Graphics>) override {}
};

}  // namespace gametest
