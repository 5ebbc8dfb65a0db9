#include "scene_SceneManager.h"

#include "GameIds.h"
#include "main_Main.h"
#include "scene_maingame_InGame.h"
#include "scene_menu_MenuScene.h"
#include "scene_splash_LogoScene.h"
#include "ui_ResManager.h"

VM_REGISTER_CLASS(scene::SceneManager, "scene.SceneManager", "java.lang.Object", 0);

namespace scene {

using main::Main;

VMStatic<SceneManager> SceneManager::instance;
VMStatic<ui::Scene> SceneManager::currentScene;
VMStatic<ui::Pointer> SceneManager::pointer;

namespace {

// Key numbers of the buttons 10..19 (buttons 0..9 are keys 16..25); the
// held test of button 13 takes key 15 where the pressed test takes 7.
struct Keys {
  int32_t n;
  int32_t key[3];
};
constexpr Keys kButtons[] = {
    {1, {10}},        {1, {3}},         {2, {27, 15}},    {2, {29, 7}},     {3, {1, 30, 18}},
    {3, {2, 32, 20}}, {3, {5, 33, 22}}, {3, {6, 31, 24}}, {3, {8, 34, 21}}, {2, {4, 15}},
};
constexpr Keys kButton13Held = {2, {29, 15}};
// Buttons 21 and 22.
constexpr int32_t kLastButtons[] = {7, 15};
// The keys whose release button 20 reports.
constexpr int32_t kReleaseKeys[] = {16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 10, 3, 15, 4, 7};

}  // namespace

VMPtr<SceneManager> SceneManager::_VM_init() {
  Base::_VM_init();
  _VM_clinitCheck();
  instance = VMPtr<SceneManager>(this);
  Main::_VM_clinitCheck();
  canvas = Main::canvas;
  sceneId = -1;
  VMPtr<ui::Pointer> touch = ui::Pointer::_VM_new();
  touch->_VM_init();
  pointer = touch;
  onStart();
  VMPtr<Main>(Main::instance)->loadTranslation(gameids::kFirstTranslation);
  changeScene(kLogoScene);
  return VMPtr<SceneManager>(this);
}

uint8_t SceneManager::anyKey(int32_t button, bool held) {
  VMPtr<tq::TqCanvas> c = canvas;
  auto test = [&](int32_t key) { return held ? c->isKeyHeld(key) : c->isKeyPressed(key); };
  if (button >= 0 && button <= 9) return test(16 + button);
  if (button >= 10 && button <= 19) {
    const Keys& keys = held && button == 13 ? kButton13Held : kButtons[button - 10];
    for (int32_t i = 0; i < keys.n; ++i) {
      if (test(keys.key[i])) return 1;
    }
    return 0;
  }
  if (button == 21 || button == 22) return test(kLastButtons[button - 21]);
  return 0;
}

uint8_t SceneManager::isButtonPressed(int32_t button) { return anyKey(button, false); }

uint8_t SceneManager::isButtonHeld(int32_t button) { return anyKey(button, true); }

uint8_t SceneManager::isAnyKeyReleased(int32_t button) {
  if (button != 20) return 0;
  VMPtr<tq::TqCanvas> c = canvas;
  for (int32_t key : kReleaseKeys) {
    if (c->isKeyReleased(key)) return 1;
  }
  return 0;
}

void SceneManager::update() {
  _VM_clinitCheck();
  VMPtr<ui::Scene> scene = currentScene;
  if (scene) scene->update();
  VMPtr<ui::Pointer> touch = pointer;
  if (touch) touch->tick(0, 0);
}

void SceneManager::paint(VMPtr<Graphics> g) {
  _VM_clinitCheck();
  VMPtr<ui::Scene> scene = currentScene;
  if (scene) scene->paint(g);
}

void SceneManager::pauseScene() {
  _VM_clinitCheck();
  VMPtr<ui::Scene> scene = currentScene;
  if (scene) scene->pause();
}

void SceneManager::releaseScene() {
  _VM_clinitCheck();
  VMPtr<ui::Scene> scene = currentScene;
  if (scene) {
    scene->removeAllObjects();
    currentScene = nullptr;
  }
  ui::Pointer::_VM_clinitCheck();
  ui::Pointer::regionHolder = nullptr;
  pointer = nullptr;
}

void SceneManager::changeScene(int32_t id) {
  Main::_VM_clinitCheck();
  Main::repaintAll = 1;
  VMPtr<Main> controller = Main::instance;
  if (controller) controller->stopAllSounds();
  _VM_clinitCheck();
  VMPtr<ui::Scene> old = currentScene;
  if (old) {
    old->removeAllObjects();
    currentScene = nullptr;
  }
  VMPtr<ui::Pointer> touch = pointer;
  if (touch) touch->reset();
  ui::ResManager::reset();
  sceneId = static_cast<int16_t>(id);
  createScene();
}

bool SceneManager::isMenuScene(int32_t id) { return id == 2 || id == 4 || id == 5 || id == 10 || id == 11; }

// Logo (0) and menu pages (2, 4, 5, 10, 11, the id as the first page; the
// music switches to set 5 first). The menu loads one phase a frame; the
// logo is entered at once. The play scene (34, and 42 with mode 2) loads
// one phase a frame too.
void SceneManager::createScene() {
  _VM_clinitCheck();
  if (isMenuScene(sceneId)) {
    VMPtr<Main> controller = Main::instance;
    if (controller) controller->playMusic(kMenuMusic);
    VMPtr<menu::MenuScene> page = menu::MenuScene::_VM_new();
    page->_VM_init(sceneId);
    page->suspend(1);
    currentScene = page;
  } else if (sceneId == kPlayScene || sceneId == kPlaySceneMode2) {
    VMPtr<maingame::InGame> play = maingame::InGame::_VM_new();
    if (sceneId == kPlayScene) {
      play->_VM_init();
    } else {
      play->_VM_init(2);
    }
    play->suspend(1);
    currentScene = play;
  } else if (sceneId == kLogoScene) {
    VMPtr<splash::LogoScene> logo = splash::LogoScene::_VM_new();
    logo->_VM_init();
    currentScene = logo;
  }
  VMPtr<ui::Scene> scene = currentScene;
  if (scene && !scene->suspended) scene->enter();
}

void SceneManager::_VM_markReferences(int colour) {
  _VM_mark(canvas, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace scene
