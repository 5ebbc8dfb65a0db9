#include "PlayWorld.h"

#include "scene_SceneManager.h"
#include "ui_Scene.h"

namespace gametest {

namespace {

constexpr int kRowLength = 1024;

}  // namespace

content::Bytes PlayWorld::worldLevel(std::vector<LevelEntityGroup> groups) {
  std::vector<LevelEntityGroup> all = {
      {9,
       {{200, 60, scaledRecord(2, 5, 1)},
        {0, 100, scaledRecord(10, 1, 0)},
        {300, 100, scaledRecord(4, 2, 2)},
        {0, 250, scaledRecord(10, 1, 0)}}},
      {15, {{20, 50, pointRecord(1)}, {20, 200, pointRecord(0)}}},
  };
  for (LevelEntityGroup& g : groups) all.push_back(std::move(g));
  Level level = smallLevel(50, 200, 64, 40, 16, 8, std::move(all));
  level.entities->rowLength = kRowLength;
  return content::writeLevel(level);
}

PlayWorld::PlayWorld(int32_t tier, const content::Bytes* level) {
  play::writePlayPack(env.folder.root() / "rsc");
  env.writeLevels({level ? *level : worldLevel()});
  main::Game::_VM_clinitCheck();
  main::Game::tier = tier;
  loader = PlayEnv::loader();
  loader->load(0);
  map = tq::CellLayer::create(240, 160);
  map->setPoolCapacity(kPoolHandles);
  InGameObject::_VM_clinitCheck();
  InGameObject::mapLayer = map;
  InGameObject::gathered = 0;
  scene = FrameScene::make();
  scene->frameTime = play::kStepMs;
  scene::SceneManager::_VM_clinitCheck();
  scene::SceneManager::currentScene = scene;
}

PlayWorld::~PlayWorld() {
  scene::SceneManager::currentScene = nullptr;
  InGameObject::mainObjectA = nullptr;
  InGameObject::mainObjectB = nullptr;
  InGameObject::mapLayer = nullptr;
}

VMPtr<PlayWorld::InGameObject> PlayWorld::object(int32_t x, int32_t y, int32_t animation) {
  VMPtr<InGameObject> o = InGameObject::_VM_new();
  o->_VM_init();
  o->initLayers(2);
  o->addPlayerLayer(play::kSprites, play::kMainSet, animation, x, y);
  return o;
}

VMPtr<PlayWorld::InGameBarrier> PlayWorld::barrier(int32_t animSetId, int32_t kind, int32_t x, int32_t y) {
  VMPtr<InGameBarrier> b = InGameBarrier::_VM_new();
  b->_VM_init();
  b->initLayers(2);
  b->addPlayerLayer(play::kSprites, animSetId, 0, x, y);
  b->setKind(kind);
  return b;
}

void PlayWorld::camera(int32_t view, int32_t x, int32_t y) {
  loader->pairA->at(view) = x;
  loader->pairB->at(view) = y;
}

void PlayWorld::tick(const VMPtr<InGameObject>& o, int32_t frames) {
  for (int32_t i = 0; i < frames; ++i) o->tick();
}

VMPtr<tq::AnimPlayer> playerOf(const VMPtr<scene::maingame::InGameObject>& o) { return o->players->get(0); }

}  // namespace gametest
