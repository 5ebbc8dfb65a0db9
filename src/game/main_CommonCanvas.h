#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "javax_microedition_midlet_MIDlet.h"
#include "tq_TqCanvas.h"

namespace main {

// The game canvas: the engine's hooks forwarded to the controller. Once
// the application is told to exit (event 3, which may come on the main
// thread from destroyApp while the canvas thread waits for its frame; the
// global lock serialises the two), `exiting` keeps tick and paint from
// touching the controller again.
class CommonCanvas : public tq::TqCanvas {
  VM_CLASS(CommonCanvas, tq::TqCanvas)

 public:
  VMPtr<CommonCanvas> _VM_init(VMPtr<MIDlet> midlet);

  // Latches the recorded keys, then the controller's update.
  void tick() override;
  void paintFrame(VMPtr<Graphics> g) override;
  // The game's part of the event, then the engine's own handling:
  // 0 frame period 40 ms; 1 pause; 2 full repaint, resume; 3 exit
  // (release media, shut the controller down); 4 full repaint; 5 shown.
  void onAppEvent(int32_t code) override;

  // The level hooks pass their arguments to the controller's level loader
  // (header, properties, size, entity group, entity, cell); the palette
  // hook stays the engine's empty one.
  void levelHeader(int32_t value) override;
  void levelProperties(int32_t a, int32_t columns, int32_t value, int32_t d, int32_t e, int32_t f,
                       int32_t count) override;
  void levelSize(int32_t width, int32_t height) override;
  void levelEntityGroup(int32_t type, int32_t count) override;
  void levelEntity(int32_t type, int32_t x, int32_t y) override;
  void levelCell(int32_t x, int32_t y, int32_t value) override;

  uint8_t exiting;
};

}  // namespace main
