#pragma once

// The in-process set-up of the game's tests: a program folder with the
// game's fixture packs, a test VM and a bare canvas, and a controller made
// over it (saved progress in the folder's database).

#include "GameCanvas.h"
#include "HALCallbacks.h"
#include "HALEvents.h"
#include "HALProperties.h"
#include "HALShell.h"
#include "HALWindow.h"
#include "java_lang_Thread.h"
#include "javax_microedition_lcdui_Display.h"
#include "GamePacks.h"
#include "PackFixtures.h"
#include "VMTestEnv.h"
#include "main_Main.h"

namespace gametest {

struct GameEnv {
  pack_fixtures::ProgramFolder folder;
  bool vmStarted = VMTestEnv::start() != nullptr;
  VMPtr<BareCanvas> canvas = makeCanvas();
  ~GameEnv() { BareCanvas::stop(); }

  // With the display's event registry, as in the program: the canvas then
  // takes the screen's size.
  VMPtr<BareCanvas> makeCanvas() {
    writeGamePacks(folder.root() / "rsc");
    VMCallbacks table = *HAL_getVMCallbacks();
    table.broadcastEvent = HAL_broadcastEvent;
    HAL_setVMCallbacks(&table);
    HAL_createEventRegistry();
    javax::microedition::lcdui::Display::getDisplay(nullptr);
    HAL_loadProperties();
    HAL_createMainWindow(nullptr, 1);
    VMPtr<BareCanvas> made = BareCanvas::make();
    // The full-screen switch arrives as a posted message, maybe only after
    // the canvas thread has run (the default screen is 240 x 320).
    for (int i = 0; i < 5000 && made->getHeight() != 320; ++i) {
      ce::MSG msg;
      while (ce::PeekMessageW(&msg, HAL_getMainWindow(), 0, 0, ce::PM_REMOVE)) HAL_dispatchMessage(&msg);
      if (made->getHeight() != 320) java::lang::Thread::sleep(2);
    }
    made->updateScreenSize();
    return made;
  }
  VMPtr<main::Main> makeMain() {
    VMPtr<main::Main> m = main::Main::_VM_new();
    return m->init(canvas);
  }
  pack_fixtures::Bytes record(int32_t n) { return pack_fixtures::nativeBytes(canvas->readRecord(n)); }
};

}  // namespace gametest
