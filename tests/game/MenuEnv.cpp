#include "MenuEnv.h"

namespace gametest {

using scene::SceneManager;
using scene::menu::MenuScene;

namespace {

constexpr int32_t kFrameMs = 40;
constexpr int32_t kMaxLoadFrames = 50;

std::array<int32_t, 2> centre(int32_t x, int32_t y, int32_t w, int32_t h) { return {x + w / 2, y + h / 2}; }

}  // namespace

MenuEnv::MenuEnv() {
  ui.env.canvas->frameDuration = kFrameMs;
  ui.main->update();
}

void MenuEnv::frame() {
  ui.env.canvas->latchKeys();
  ui.main->update();
}

void MenuEnv::start(int32_t id) {
  SceneManager::instance->changeScene(id);
  for (int32_t i = 0; i < kMaxLoadFrames && SceneManager::currentScene && SceneManager::currentScene->suspended; ++i) {
    frame();
  }
  ASSERT_TRUE(scene());
  ASSERT_FALSE(scene()->suspended);
}

VMPtr<MenuScene> MenuEnv::scene() {
  SceneManager::_VM_clinitCheck();
  return VMPtr<MenuScene>(dynamic_cast<MenuScene*>(SceneManager::currentScene.get()));
}

void MenuEnv::press(std::array<int32_t, 2> at) {
  ui.env.canvas->pointerPressed(at[0], at[1]);
  frame();
}

void MenuEnv::tap(std::array<int32_t, 2> at) {
  press(at);
  ui.env.canvas->pointerReleased(at[0], at[1]);
  frame();
  frame();
}

std::array<int32_t, 2> itemCentre(MenuScene* s, int32_t id) {
  VMPtr<ui::Addon> box = s->menu;
  VMPtr<VMArray<int32_t, 2>> rects = box->getItemRects();
  for (int32_t i = 0; i < rects->length; ++i) {
    if (box->ids->at(box->firstRow + i) != id) continue;
    VMPtr<VMArray<int32_t>> r = rects->get(i);
    return centre(r->at(0), r->at(1), r->at(2), r->at(3));
  }
  ADD_FAILURE() << "no item " << id << " on page " << s->page;
  return {-1, -1};
}

std::array<int32_t, 2> boxCentre(MenuScene* s, int32_t i) {
  VMPtr<tq::graphics::CollisionBox> b = VMPtr<ui::Screen>(s->screen)->getCollisionBox(2, i);
  return centre(b->x, b->y, b->width, b->height);
}

}  // namespace gametest
