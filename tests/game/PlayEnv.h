#pragma once

// The in-process set-up of the play tests: a program folder with the
// game's fixture packs, a test VM, the game canvas itself (its level hooks
// reach the controller's level loader) and a controller made over it.
// Levels are written into pack 2 by each test.

#include "GameCanvas.h"
#include "GamePacks.h"
#include "LevelRecords.h"
#include "PackFixtures.h"
#include "VMTestEnv.h"
#include "main_CommonCanvas.h"
#include "main_Main.h"
#include "tq_Resources.h"

namespace gametest {

struct PlayEnv {
  pack_fixtures::ProgramFolder folder;
  bool vmStarted = VMTestEnv::start() != nullptr;
  VMPtr<main::CommonCanvas> canvas = makeCanvas();
  VMPtr<main::Main> controller = makeMain();
  // The canvas thread never runs a frame: the canvas is never shown.
  ~PlayEnv() { BareCanvas::stop(); }

  VMPtr<main::CommonCanvas> makeCanvas() {
    writeGamePacks(folder.root() / "rsc");
    VMPtr<main::CommonCanvas> c = main::CommonCanvas::_VM_new();
    return c->_VM_init(VMPtr<javax::microedition::midlet::MIDlet>());
  }
  VMPtr<main::Main> makeMain() {
    VMPtr<main::Main> m = main::Main::_VM_new();
    return m->init(canvas);
  }
  // Replaces pack 2; the pack is closed so that the next load reads it.
  void writeLevels(const std::vector<content::Bytes>& levels, const std::vector<std::u16string>& texts = {}) {
    writeLevelPack((folder.root() / "rsc").string(), levels, texts);
    tq::Resources::closePack();
  }
  static VMPtr<ui::LevelLoader> loader() {
    main::Main::_VM_clinitCheck();
    return main::Main::levelLoader;
  }
};

}  // namespace gametest
