#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "javax_microedition_midlet_MIDlet.h"
#include "main_CommonCanvas.h"
#include "main_Main.h"

namespace main {

// The game's MIDlet, made by name by the application manager ("MIDlet-1"
// names main.CommonMIDlet). The first startApp makes the canvas (which
// starts the canvas thread), the controller, and shows the canvas; later
// ones only show it again. destroyApp releases the media, shuts the
// controller down and asks the canvas to exit; before any startApp there
// is nothing to release and it does nothing.
class CommonMIDlet : public javax::microedition::midlet::MIDlet {
  VM_CLASS(CommonMIDlet, javax::microedition::midlet::MIDlet)

 public:
  VMPtr<CommonMIDlet> _VM_init();
  void startApp() override;
  void pauseApp() override;
  void destroyApp(uint8_t unconditional) override;

  void _VM_markReferences(int colour) override;

  VMField<CommonCanvas> canvas;
  VMField<Main> main;
};

}  // namespace main
