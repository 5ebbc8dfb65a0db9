#include "PlaySceneEnv.h"

#include "UiPacks.h"
#include "main_Game.h"
#include "UiEnv.h"

namespace gametest {

using main::Main;

namespace {

bool writePacks(PlayEnv& env) {
  writeUiPacks(env.folder.root() / "rsc");
  playscene::writePlayScenePacks(env.folder.root() / "rsc");
  tq::Resources::closePack();
  return true;
}

}  // namespace

PlaySceneEnv::PlaySceneEnv(const content::Bytes& level, int32_t tier, int32_t group, int32_t stage)
    : packs(writePacks(env)) {
  const size_t index = static_cast<size_t>(5 * group + stage);
  env.writeLevels(std::vector<content::Bytes>(index + 1, level));
  env.controller->loadTranslation(0x5000);
  initTouch(env.canvas);
  env.canvas->frameDuration = kFrameMs;
  main::Game::_VM_clinitCheck();
  main::Game::tier = tier;
  main::Game::group = group;
  main::Game::stage = stage;
  env.controller->update();
}

PlaySceneEnv::~PlaySceneEnv() { Main::shutdown(); }

void PlaySceneEnv::frame() {
  env.canvas->latchKeys();
  env.controller->update();
}

int32_t PlaySceneEnv::start(int32_t id, int32_t limit) {
  scene::SceneManager::instance->changeScene(id);
  return framesUntilPlaying(limit);
}

int32_t PlaySceneEnv::framesUntilPlaying(int32_t limit) {
  int32_t n = 0;
  while (n < limit) {
    VMPtr<InGame> s = scene();
    if (s && !s->suspended && s->state == InGame::kPlaying) break;
    frame();
    ++n;
  }
  return n;
}

VMPtr<PlaySceneEnv::InGame> PlaySceneEnv::scene() {
  scene::SceneManager::_VM_clinitCheck();
  return VMPtr<InGame>(dynamic_cast<InGame*>(scene::SceneManager::currentScene.get()));
}

void PlaySceneEnv::press(int32_t x, int32_t y) {
  env.canvas->pointerPressed(x, y);
  frame();
}

void PlaySceneEnv::release(int32_t x, int32_t y) {
  env.canvas->pointerReleased(x, y);
  frame();
}

}  // namespace gametest
