#pragma once

// A game canvas that does nothing of its own, for tests of the engine
// services that hang off the canvas (its font, its text table, its media
// manager). Its thread waits to be shown; stop() ends it before the test
// ends.

#include "tq_TqCanvas.h"

namespace test_support {

class PlainCanvas : public tq::TqCanvas {
  VM_CLASS(PlainCanvas, tq::TqCanvas)

 public:
  // A canvas without a MIDlet.
  static VMPtr<PlainCanvas> make();
  // Ends the canvas thread and waits for it.
  static void stop();

  void tick() override {}
  void paintFrame(VMPtr<Graphics>) override {}
};

// Ends the game canvas's thread, whichever canvas started it, and waits
// for it.
void stopCanvasThread();

}  // namespace test_support
