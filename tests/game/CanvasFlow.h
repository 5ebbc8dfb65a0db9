#pragma once

// The fixture of the game's tests over the real engine: the engine
// fixture's VM, event registry and test clock, a program folder for the
// packs, and stylus taps raised as the platform raises them while the
// canvas thread runs its frames. The engine fixture's classes are
// registered once, in GameFlowTest.cpp.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "../engine/EngineFixture.h"
#include "JavaTask.h"
#include "PackFixtures.h"
#include "main_Main.h"
#include "scene_SceneManager.h"
#include "scene_menu_MenuScene.h"
#include "ui_Pointer.h"

namespace gametest {

class CanvasFlow : public enginetest::EngineFixture {
 protected:
  static scene::menu::MenuScene* menuScene() {
    scene::SceneManager::_VM_clinitCheck();
    if (!main::Main::sceneManager) return nullptr;
    return dynamic_cast<scene::menu::MenuScene*>(scene::SceneManager::currentScene.get());
  }
  // Page `page` of the menu has loaded.
  static bool onPage(int32_t page) {
    scene::menu::MenuScene* s = menuScene();
    return s && !s->suspended && s->page == page;
  }
  // Press, then (once a frame has taken it) release, at a game-area
  // point: canvas coordinates are the game area's moved by its offset.
  // True once a frame has taken the release.
  bool tap(std::array<int32_t, 2> at) {
    const intptr_t x = at[0] + main::Main::offsetX, y = at[1] + main::Main::offsetY;
    raise(HAL_EVENT_POINTER_PRESSED, {x, y});
    if (!waitFor([] { return ui::Pointer::down && ui::Pointer::down->at(0) != 0; })) return false;
    raise(HAL_EVENT_POINTER_RELEASED, {x, y});
    return waitFor([] { return ui::Pointer::down && ui::Pointer::down->at(0) == 0; });
  }
  // Ends the canvas thread (its exit already asked for) and joins it.
  static void joinCanvasThread() {
    tq::TqCanvas::_VM_clinitCheck();
    VMPtr<java::lang::Thread> thread = tq::TqCanvas::canvasThread;
    if (!thread) return;
    tq::TqCanvas::runState = 4;
    waitFor([&] { return !thread->isAlive(); });
    java_test::joinThread(thread);
  }

  pack_fixtures::ProgramFolder folder;
};

}  // namespace gametest
