#pragma once

// The screen object's test set-up: the game's environment with the screen
// pack written beside it, a fresh resource cache, and a current scene whose
// frame time the screens' ticks read.

#include <cstdint>
#include <vector>

#include "GameEnv.h"
#include "ScreenFixtures.h"
#include "javax_microedition_lcdui_Image.h"
#include "ui_Scene.h"
#include "ui_Screen.h"

namespace gametest {

// A scene with nothing of its own: only its frame time is used.
class FrameScene : public ui::Scene {
  VM_CLASS(FrameScene, ui::Scene)

 public:
  static VMPtr<FrameScene> make();
  void loadStep() override {}
  void prepareStep() override {}
  void createWidgets() override {}
  void paintBackground(VMPtr<Graphics>) override {}
};

struct ScreenEnv {
  using Image = javax::microedition::lcdui::Image;

  GameEnv env;
  VMPtr<FrameScene> scene = start(env);
  ~ScreenEnv();

  static VMPtr<FrameScene> start(GameEnv& env);
  // A screen with `n` layers.
  static VMPtr<ui::Screen> screen(int32_t n);
  // A mutable w x h image filled black.
  static VMPtr<Image> blackImage(int32_t w, int32_t h);
  // The image's pixels, masked to what its RGB565 surface keeps.
  static std::vector<uint32_t> pixels(const VMPtr<Image>& image);
};

}  // namespace gametest
