// A level played in process: a test scene loads level 0 from pack 2
// through the controller's loader, builds a map layer, two main objects,
// a barrier and a pick-up from the level's records, and runs them frame
// by frame through the scene's update (40 ms frames, main object A moved
// forward 5 px a frame and the camera following it, as the play scene
// does) until A has landed, gathered the item and been hit.

#include <gtest/gtest.h>

#include "PlayWorld.h"
#include "javax_microedition_lcdui_Image.h"
#include "scene_SceneManager.h"

using gametest::PlayWorld;
using gametest::playerOf;
using scene::maingame::InGameBarrier;
using scene::maingame::InGameObject;
namespace play = gametest::play;

namespace gametest {

// Builds the level's objects in its one load step.
class LevelScene : public ui::Scene {
  VM_CLASS(LevelScene, ui::Scene)

 public:
  static VMPtr<LevelScene> make() {
    VMPtr<LevelScene> s = _VM_new();
    s->_VM_init();
    s->enter();
    return s;
  }
  void loadStep() override;
  void prepareStep() override {}
  void createWidgets() override {}
  void paintBackground(VMPtr<Graphics>) override {}
};

void LevelScene::loadStep() {
  main::Main::_VM_clinitCheck();
  VMPtr<ui::LevelLoader> level = main::Main::levelLoader;
  level->load(0);
  VMPtr<tq::CellLayer> map = tq::CellLayer::create(240, 160);
  map->setPoolCapacity(level->itemGroupSize + 5 * level->barrierGroupSize + 2);
  InGameObject::_VM_clinitCheck();
  InGameObject::mapLayer = map;
  VMPtr<InGameObject> a = InGameObject::_VM_new();
  a->_VM_init();
  a->initLayers(2);
  a->addPlayerLayer(play::kSprites, play::kMainSet, InGameObject::kFall, level->pointBX, level->pointBY);
  InGameObject::mainObjectA = a;
  addObject(a);
  VMPtr<InGameObject> b = InGameObject::_VM_new();
  b->_VM_init();
  b->setHalfMap(0);
  b->initLayers(2);
  b->addPlayerLayer(play::kSprites, play::kMainSet, InGameObject::kFall, level->pointAX, level->pointAY);
  InGameObject::mainObjectB = b;
  addObject(b);
  for (int32_t i = 0; i < level->barrierGroupSize; ++i) {
    VMPtr<InGameBarrier> barrier = InGameBarrier::_VM_new();
    barrier->_VM_init();
    barrier->initLayers(2);
    barrier->addPlayerLayer(play::kSprites, play::barrierSet(level->barrierVariant->at(i)), 0, level->barrierX->at(i),
                            level->barrierY->at(i));
    barrier->setKind(level->barrierParams->get(i)->at(0));
    if (barrier->getKind() != 4) barrier->setArmed(1);
    addObject(barrier);
  }
  for (int32_t i = 0; i < level->itemGroupSize; ++i) {
    VMPtr<InGameBarrier> item = InGameBarrier::_VM_new();
    item->_VM_init();
    item->initLayers(1);
    item->addPlayerLayer(play::kSprites, play::kPickupSet, level->itemValue->at(i), level->itemX->at(i),
                         level->itemY->at(i));
    item->setKind(9);
    addObject(item);
  }
  InGameObject::gathered = 0;
}

}  // namespace gametest

VM_REGISTER_CLASS(gametest::LevelScene, "gametest.LevelScene", "ui.Scene", 0);

namespace {

TEST(LevelScene, ObjectLandsGathersAndIsHit) {
  // A platform 400 px long under A's start, the lower one under B's; an
  // item on the platform at x 150, a barrier whose box hits at x 300.
  const content::Bytes level = [] {
    gametest::Level l = gametest::smallLevel(
        50, 200, 64, 40, 16, 8,
        {{9, {{0, 100, gametest::scaledRecord(25, 1, 0)}, {0, 250, gametest::scaledRecord(25, 1, 0)}}},
         {15, {{20, 50, gametest::pointRecord(1)}, {20, 200, gametest::pointRecord(0)}}},
         {7, {{300, 100, gametest::barrierRecord(7, 0, 0, false, {7, 0, 0, 0, 0})}}},
         {17, {{150, 100, gametest::itemRecord(0, false)}}}});
    l.entities->rowLength = 1024;
    return content::writeLevel(l);
  }();
  PlayWorld world(0, &level);
  world.env.canvas->frameDuration = play::kStepMs;
  VMPtr<gametest::LevelScene> s = gametest::LevelScene::make();
  scene::SceneManager::currentScene = s;
  VMPtr<InGameObject> a = InGameObject::mainObjectA;
  VMPtr<InGameObject> b = InGameObject::mainObjectB;
  ASSERT_TRUE(a && b);
  VMPtr<javax::microedition::lcdui::Image> screen = gametest::ScreenEnv::blackImage(240, 320);
  VMPtr<javax::microedition::lcdui::Graphics> g = screen->getGraphics();

  int32_t landedAt = -1, gatheredAt = -1, hitAt = -1;
  for (int32_t frame = 0; frame < 200 && hitAt < 0; ++frame) {
    s->update();
    s->paint(g);
    EXPECT_EQ(s->frameTime, play::kStepMs);
    const int32_t state = a->getState();
    if (landedAt < 0 && state == InGameObject::kOnPlatform) landedAt = frame;
    if (gatheredAt < 0 && InGameObject::gathered > 0) gatheredAt = frame;
    if (hitAt < 0 && a->lives < 5) hitAt = frame;
    // Forward while standing, walking or in the air; the camera follows A.
    if (state != InGameObject::kDying && state != InGameObject::kDead && state != InGameObject::kLandedAction) {
      a->setLayerPosition(0, a->getLayerX(0) + 5, a->getLayerY(0));
    }
    world.camera(0, a->getLayerX(0) - 100, 0);
    world.camera(1, a->getLayerX(0) - 100, 160);
  }
  ASSERT_GE(landedAt, 0);
  ASSERT_GE(gatheredAt, landedAt);
  ASSERT_GE(hitAt, gatheredAt);
  EXPECT_EQ(InGameObject::gathered, 1);  // the item turned to its gathered look at once
  EXPECT_EQ(a->lives, 4);
  EXPECT_TRUE(a->isHurt());
  EXPECT_EQ(a->getState(), InGameObject::kOnPlatformHurt);
  EXPECT_EQ(b->getLayerY(0), 250);  // B landed on the lower platform
  EXPECT_EQ(b->getState(), InGameObject::kOnPlatform);
  // Every object keeps its sprite in the map layer's pool.
  EXPECT_EQ(a->getSpriteIndex(), 0);
  EXPECT_EQ(b->getSpriteIndex(), 1);
  InGameObject::_VM_clinitCheck();
  EXPECT_EQ(VMPtr<tq::CellLayer>(InGameObject::mapLayer)->poolObjects->get(0).get(),
            static_cast<tq::Paintable*>(playerOf(a)->getFrame().get()));
}

}  // namespace
