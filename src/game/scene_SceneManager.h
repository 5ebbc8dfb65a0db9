#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "tq_TqCanvas.h"
#include "ui_Pointer.h"
#include "ui_Scene.h"

namespace scene {

// Owns the current scene and switches scenes by numeric id; forwards
// update, paint and pause to it, keeps the touch state ticking, and maps
// the scenes' button numbers 0..22 onto the engine's key numbers.
//
// A change runs in a fixed order: full repaint asked for, all sounds
// stopped, the old scene's objects disposed, the touch state reset, the
// resource cache emptied, then the new scene made (menu and play scenes
// suspended, to load one phase per frame; the others entered at once).
// Menu ids (2, 4, 5, 10, 11) switch the music to set 5 first. Id 0 makes
// the logo scene, the menu ids the menu scene; the play ids (34, 42), like
// an unknown id, leave no current scene for now.
class SceneManager : public virtual java::lang::Object {
  VM_CLASS(SceneManager, java::lang::Object)

 public:
  using Graphics = javax::microedition::lcdui::Graphics;
  static constexpr int32_t kLogoScene = 0;
  static constexpr int32_t kPlayScene = 34;
  static constexpr int32_t kPlaySceneMode2 = 42;
  static constexpr int32_t kMenuMusic = 5;

  // Becomes the instance, makes the touch state, loads the default
  // translation and changes to the logo scene.
  VMPtr<SceneManager> _VM_init();

  virtual uint8_t isButtonPressed(int32_t button);
  virtual void onEmpty1() {}
  virtual void update();
  virtual void onResume() {}
  virtual uint8_t isAnyKeyReleased(int32_t button);
  virtual void onStart() {}
  virtual void onLogo() {}
  virtual uint8_t isButtonHeld(int32_t button);
  virtual void onEmpty8() {}
  virtual void paint(VMPtr<Graphics> g);
  virtual void releaseScene();
  virtual void changeScene(int32_t id);
  virtual void pauseScene();

  void createScene();
  static bool isMenuScene(int32_t id);

  void _VM_markReferences(int colour) override;

  int16_t sceneId;
  VMField<tq::TqCanvas> canvas;

  static VMStatic<SceneManager> instance;
  static VMStatic<ui::Scene> currentScene;
  static VMStatic<ui::Pointer> pointer;

 private:
  // Whether any key of the button's list answers `test`.
  uint8_t anyKey(int32_t button, bool held);
};

}  // namespace scene
