#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "ui_Scene.h"

namespace scene::splash {

// The first scene of every run (scene id 0): the logo, animation 0 of set
// 1024 drawn with sprites 1025, centred on a white screen. On the first
// frame at which the scene's frame time reaches 3000 ms it loads the
// default translation (0x5001), selects glyph set 1 and hands over to the
// language page (scene 11). No menu box, no input.
class LogoScene : public ui::Scene {
  VM_CLASS(LogoScene, ui::Scene)

 public:
  static constexpr int32_t kLogoGobs = 1025;
  static constexpr int32_t kLogoAnimSet = 1024;
  static constexpr int32_t kShownMs = 3000;
  // The end of the window in which the change happens (the canvas caps a
  // frame's time, so the scene's time always passes through it).
  static constexpr int32_t kWindowEndMs = 5000;
  static constexpr int32_t kTranslation = 0x5001;
  static constexpr int32_t kNextScene = 11;

  VMPtr<LogoScene> _VM_init();

  void prepareStep() override {}
  void update() override;
  // Builds the logo screen in one step.
  void loadStep() override;
  void paintBackground(VMPtr<Graphics>) override {}
  void createWidgets() override {}
};

}  // namespace scene::splash
