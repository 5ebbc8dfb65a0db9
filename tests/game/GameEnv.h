#pragma once

// The in-process set-up of the game's tests: a program folder with the
// game's fixture packs, a test VM and a bare canvas, and a controller made
// over it (saved progress in the folder's database).

#include "GameCanvas.h"
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

  VMPtr<BareCanvas> makeCanvas() {
    writeGamePacks(folder.root() / "rsc");
    return BareCanvas::make();
  }
  VMPtr<main::Main> makeMain() {
    VMPtr<main::Main> m = main::Main::_VM_new();
    return m->init(canvas);
  }
  pack_fixtures::Bytes record(int32_t n) { return pack_fixtures::nativeBytes(canvas->readRecord(n)); }
};

}  // namespace gametest
