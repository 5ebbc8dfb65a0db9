#include "scene_splash_LogoScene.h"

#include "main_Main.h"
#include "scene_SceneManager.h"
#include "ui_Screen.h"

VM_REGISTER_CLASS(scene::splash::LogoScene, "scene.splash.LogoScene", "ui.Scene", VM_INSTANTIABLE);

namespace scene::splash {

using main::Main;

VMPtr<LogoScene> LogoScene::_VM_init() {
  Base::_VM_init();
  return VMPtr<LogoScene>(this);
}

void LogoScene::loadStep() {
  VMPtr<ui::Screen> logo = ui::Screen::_VM_new();
  logo->_VM_init();
  screen = logo;
  logo->setBackgroundColour(0xFFFFFF);
  logo->setBackgroundEnabled(1);
  logo->initLayers(1);
  logo->addPlayerLayer(kLogoGobs, kLogoAnimSet, 0, 0, 0);
  const int32_t w = logo->getLayerWidth(0);
  const int32_t h = logo->getLayerHeight(0);
  logo->setLayerPosition(0, (Main::kGameWidth - w) / 2, (Main::kGameHeight - h) / 2);
  addObject(logo);
}

// The change replaces this scene, so it runs once.
void LogoScene::update() {
  Scene::update();
  if (elapsed < kShownMs || elapsed >= kWindowEndMs) return;
  Main::_VM_clinitCheck();
  VMPtr<Main> controller = Main::instance;
  controller->loadTranslation(kTranslation);
  controller->selectFont(1);
  VMPtr<SceneManager>(sceneManager)->changeScene(kNextScene);
}

}  // namespace scene::splash
