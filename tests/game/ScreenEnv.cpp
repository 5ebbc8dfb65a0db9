#include "ScreenEnv.h"

#include "scene_SceneManager.h"
#include "ui_ResManager.h"

VM_REGISTER_CLASS(gametest::FrameScene, "gametest.FrameScene", "ui.Scene", 0);

namespace gametest {

VMPtr<FrameScene> FrameScene::make() {
  VMPtr<FrameScene> s = _VM_new();
  s->_VM_init();
  return s;
}

VMPtr<FrameScene> ScreenEnv::start(GameEnv& env) {
  screen::writeScreenPack(env.folder.root() / "rsc");
  main::Main::_VM_clinitCheck();
  main::Main::canvas = env.canvas;
  VMPtr<ui::ResManager> cache = ui::ResManager::_VM_new();
  cache->_VM_init();
  VMPtr<FrameScene> s = FrameScene::make();
  scene::SceneManager::_VM_clinitCheck();
  scene::SceneManager::currentScene = s;
  return s;
}

ScreenEnv::~ScreenEnv() {
  scene::SceneManager::currentScene = nullptr;
  main::Main::canvas = nullptr;
}

VMPtr<ui::Screen> ScreenEnv::screen(int32_t n) {
  VMPtr<ui::Screen> s = ui::Screen::_VM_new();
  s->_VM_init();
  s->initLayers(n);
  return s;
}

VMPtr<ScreenEnv::Image> ScreenEnv::blackImage(int32_t w, int32_t h) {
  VMPtr<Image> image = Image::createImage(w, h);
  VMPtr<javax::microedition::lcdui::Graphics> g = image->getGraphics();
  g->setColor(0);
  g->fillRect(0, 0, w, h);
  return image;
}

std::vector<uint32_t> ScreenEnv::pixels(const VMPtr<Image>& image) {
  const int32_t w = image->getWidth(), h = image->getHeight();
  VMPtr<VMArray<int32_t>> rgb = VMArray<int32_t>::create(w * h);
  image->getRGB(rgb, 0, w, 0, 0, w, h);
  std::vector<uint32_t> out;
  for (int32_t i = 0; i < rgb->length; ++i) out.push_back(static_cast<uint32_t>(rgb->at(i)) & 0xFFF8FCF8u);
  return out;
}

}  // namespace gametest
