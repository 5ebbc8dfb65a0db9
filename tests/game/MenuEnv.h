#pragma once

// The menu scenes driven frame by frame as the canvas drives them (keys
// latched, then the controller's update), with taps fed through the
// canvas and aimed at the centres of the laid-out boxes.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "UiEnv.h"
#include "scene_SceneManager.h"
#include "scene_menu_MenuScene.h"

namespace gametest {

// The centre of the menu box's row or answer `id` on the page of `s`.
std::array<int32_t, 2> itemCentre(scene::menu::MenuScene* s, int32_t id);
// The centre of box i of the page's background layer 2.
std::array<int32_t, 2> boxCentre(scene::menu::MenuScene* s, int32_t i);

struct MenuEnv {
  // The controller's first update (the scene manager and the logo); frames
  // of 40 ms.
  MenuEnv();

  void frame();
  // Changes to scene `id` and runs frames until it has loaded.
  void start(int32_t id);
  // The current menu scene, null when the current scene is another.
  VMPtr<scene::menu::MenuScene> scene();
  int32_t sceneId() { return scene::SceneManager::instance->sceneId; }

  // Press, a frame, release, two frames: the release reaches the scene.
  void tap(std::array<int32_t, 2> at);
  // Press and a frame: the scene sees the finger down in the next frame.
  void press(std::array<int32_t, 2> at);
  std::array<int32_t, 2> itemCentre(int32_t id) { return gametest::itemCentre(scene().get(), id); }
  std::array<int32_t, 2> boxCentre(int32_t i) { return gametest::boxCentre(scene().get(), i); }
  void tapItem(int32_t id) { tap(itemCentre(id)); }
  void tapBox(int32_t i) { tap(boxCentre(i)); }

  UiEnv ui;
};

}  // namespace gametest
