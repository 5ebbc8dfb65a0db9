// Loading a level: one step a frame while `state` is 0. A first load makes
// the layers, objects and arrays; a restart finds them made and re-places
// them, so every record keeps exactly one object and one pool handle.

#include <string>

#include "java_io_PrintStream.h"
#include "java_lang_Exception.h"
#include "java_lang_StringBuffer.h"
#include "java_lang_System.h"
#include "main_Game.h"
#include "main_Main.h"
#include "scene_maingame_InGame.h"
#include "tq_Resources.h"
#include "ui_ResManager.h"

namespace scene::maingame {

using main::Game;
using main::Main;

namespace {

// Tier, group and stage each run from 0 to 4.
bool inRange(int32_t coordinate) { return coordinate >= 0 && coordinate < 5; }

}  // namespace

void InGame::loadLevelStep() {
  switch (subStep) {
    case 0:
      if (!startLevel()) return;
      break;
    case 1:
      setUpFarLayer();
      break;
    case 2:
      setUpMapLayer();
      break;
    case 3:
      setUpFrontLayer();
      break;
    case 4:
      placeObjectA();
      break;
    case 5:
      placeObjectB();
      break;
    case 6:
      placePickups();
      break;
    case 7:
      makePickups();
      return;
    case 8:
      finishLevelLoading();
      return;
    case 9:
      placeBarriers();
      break;
    default:
      makeBarriers();
      return;
  }
  ++subStep;
}

bool InGame::startLevel() {
  Main::_VM_clinitCheck();
  VMPtr<Main> controller = Main::instance;
  if (controller) controller->stopAllSounds();
  Main::repaintAll = 1;
  VMPtr<ui::LevelLoader> l = Main::levelLoader;
  loader = l;
  Game::_VM_clinitCheck();
  if (controller) controller->playMusic(Game::group);
  // The tables indexed by tier and group hold five entries: coordinates
  // outside them (no group chosen yet) name no level.
  if (!inRange(Game::tier) || !inRange(Game::group) || !inRange(Game::stage)) {
    leaveUnloadableLevel("no such level", VMPtr<java::lang::Throwable>());
    return false;
  }
  try {
    l->load(5 * Game::group + Game::stage);
  } catch (java::lang::Exception* e) {
    VMPtr<java::lang::Exception> cause(e);
    leaveUnloadableLevel(nullptr, cause);
    return false;
  }
  viewX = nullptr;
  viewY = nullptr;
  for (VMField<Ints>* pair : {&l->pairA, &l->pairB}) {
    VMPtr<Ints> a = *pair;
    for (int32_t i = 0; a && i < a->length; ++i) a->at(i) = 0;
  }
  return true;
}

void InGame::leaveUnloadableLevel(const char* cause, VMPtr<java::lang::Throwable> thrown) {
  Game::_VM_clinitCheck();
  const int32_t tier = Game::tier, group = Game::group, stage = Game::stage;
  std::string line = "level " + std::to_string(ui::LevelLoader::kFirstLevelId + 5 * group + stage) + " (tier " +
                     std::to_string(tier) + ", group " + std::to_string(group) + ", stage " + std::to_string(stage) +
                     ") cannot be loaded: ";
  java::lang::System::_VM_clinitCheck();
  VMPtr<java::io::PrintStream> err = java::lang::System::err;
  if (err) {
    VMPtr<java::lang::StringBuffer> text = java::lang::StringBuffer::_VM_new();
    text->_VM_init(line.c_str());
    if (thrown) {
      text->append(thrown->toString());
    } else {
      text->append(cause);
    }
    err->println(text->toString());
  }
  changeSceneTo(inRange(tier) && inRange(group) && inRange(stage) ? kStagePage : kMainMenu);
}

void InGame::setUpFarLayer() {
  debugLine("STOP COUNT3!!");
  VMPtr<ui::LevelLoader> l = loader;
  viewWidth = kViewWidth;
  viewHeight = kViewHeight;
  const int32_t half = l->height * l->scaleB / 2;
  if (half < viewHeight) viewHeight = half;
  if (!farLayer) {
    VMPtr<tq::CellLayer> far = tq::CellLayer::create(viewWidth, viewHeight);
    farLayer = far;
    VMPtr<javax::microedition::lcdui::Image> image;
    if (Game::group == 4) {
      image = VMPtr<tq::TqCanvas>(canvas)->createImage(kFarTilesPerRow * l->scaleA, kFarRows * l->scaleB, 0, 0);
    } else {
      image = tq::Resources::getImage(kFarImages[Game::group]);
    }
    far->setTiles(kFarColumns, kFarRows, image, l->scaleA, l->scaleB);
    for (int32_t r = 0; r < kFarRows; ++r) {
      for (int32_t c = 0; c < kFarColumns; ++c) far->setCell(c, r, kFarTilesPerRow * r + c % kFarTilesPerRow + 1);
    }
  }
  VMPtr<tq::CellLayer>(farLayer)->setPosition(0, 0);
}

void InGame::setUpMapLayer() {
  VMPtr<ui::LevelLoader> l = loader;
  VMPtr<tq::CellLayer> map = mapLayer;
  if (!map) {
    map = tq::CellLayer::create(viewWidth, viewHeight);
    mapLayer = map;
    map->setTiles(l->width, l->height, tq::Resources::getImage(l->signedParam), l->scaleA, l->scaleB);
    VMPtr<Ints> cells = l->cells;
    for (int32_t y = 0; y < l->height; ++y) {
      for (int32_t x = 0; x < l->width; ++x) map->setCell(x, y, cells->at(y * l->width + x));
    }
    map->setPoolCapacity(poolCapacity());
    InGameObject::_VM_clinitCheck();
    InGameObject::mapLayer = map;
    if (l->landscapeGroupSize > 0) {
      map->setAnimatedCellCapacity(l->landscapeGroupSize);
      placeLandscape(map, l->landscapeKind, l->landscapeVariant, l->landscapeX, l->landscapeY, l->landscapeGroupSize);
    }
  } else {
    map->setPoolCapacity(0);
    map->setPoolCapacity(poolCapacity());
  }
  map->setPosition(0, 0);
}

void InGame::placeLandscape(VMPtr<tq::CellLayer> layer, VMPtr<Ints> kinds, VMPtr<Ints> variants, VMPtr<Ints> xs,
                            VMPtr<Ints> ys, int32_t count) {
  _VM_clinitCheck();
  VMPtr<Ints> gobs = gobIdsByKind;
  VMPtr<Ints> anims = animIdsByKind;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t type = kinds->at(i);
    if (i == 0 || type != kinds->at(i - 1)) ui::ResManager::acquire(gobs->at(type), anims->at(type));
    VMPtr<tq::AnimSet> set = VMPtr<VMArray<tq::AnimSet>>(ui::ResManager::animSets)->get(ui::ResManager::getAnimSetIndex());
    layer->addAnimatedCell(set->createPlayer(variants->at(i)), xs->at(i), ys->at(i));
  }
}

void InGame::setUpFrontLayer() {
  VMPtr<ui::LevelLoader> l = loader;
  if (!frontLayer && l->landscapeBGroupSize > 0) {
    VMPtr<tq::CellLayer> front = tq::CellLayer::create(viewWidth, viewHeight);
    frontLayer = front;
    front->setAnimatedCellCapacity(l->landscapeBGroupSize);
    placeLandscape(front, l->landscapeBKind, l->landscapeBVariant, l->landscapeBX, l->landscapeBY,
                   l->landscapeBGroupSize);
  }
  VMPtr<tq::CellLayer> front = frontLayer;
  if (front) front->setPosition(0, 0);
}

void InGame::placeObjectA() {
  VMPtr<ui::LevelLoader> l = loader;
  placeMainObject(objectA, InGameObject::mainObjectA, kObjectAGobs[Game::tier], kObjectAAnims[Game::tier], l->pointBX,
                  l->pointBY, true);
}

void InGame::placeObjectB() {
  VMPtr<ui::LevelLoader> l = loader;
  placeMainObject(objectB, InGameObject::mainObjectB, kObjectBGobs[Game::tier], kObjectBAnims[Game::tier], l->pointAX,
                  l->pointAY, false);
}

// A new object falling at (x, y) in its half of the map, or the old one
// put back there.
void InGame::placeMainObject(VMField<InGameObject>& field, VMStatic<InGameObject>& main, int32_t gobs, int32_t anims,
                             int32_t x, int32_t y, bool upperHalf) {
  VMPtr<InGameObject> o = field;
  if (!o) {
    o = InGameObject::_VM_new();
    o->_VM_init();
    field = o;
    if (!upperHalf) o->setHalfMap(0);
    o->initLayers(2);
    o->addPlayerLayer(gobs, anims, InGameObject::kFall, x, y);
    InGameObject::_VM_clinitCheck();
    main = o;
  } else {
    o->setLayerValue(0, InGameObject::kFall);
    o->setLayerPosition(0, x, y);
    o->reset();
  }
}

void InGame::placePickups() {
  VMPtr<ui::LevelLoader> l = loader;
  VMPtr<Barriers> list = pickups;
  for (int32_t i = 0; list && i < list->length; ++i) {
    VMPtr<InGameBarrier> p = list->get(i);
    if (!p) continue;
    p->setLayerValue(0, VMPtr<Ints>(l->itemValue)->at(i));
    p->setLayerPosition(0, VMPtr<Ints>(l->itemX)->at(i), VMPtr<Ints>(l->itemY)->at(i));
    p->reset();
  }
}

// The array in one frame, its objects in the next.
void InGame::makePickups() {
  VMPtr<ui::LevelLoader> l = loader;
  if (l->itemGroupSize < 1) {
    subStep = 9;
    return;
  }
  if (!pickups) {
    pickups = Barriers::create(l->itemGroupSize);
    return;
  }
  VMPtr<Barriers> list = pickups;
  for (int32_t i = 0; i < list->length; ++i) {
    if (list->get(i)) continue;
    VMPtr<InGameBarrier> p = InGameBarrier::_VM_new();
    p->_VM_init();
    list->set(i, p);
    p->initLayers(1);
    p->addPlayerLayer(kItemGobs, kItemAnims, VMPtr<Ints>(l->itemValue)->at(i), VMPtr<Ints>(l->itemX)->at(i),
                      VMPtr<Ints>(l->itemY)->at(i));
    p->setKind(9);
  }
  subStep += 2;
}

void InGame::placeBarriers() {
  VMPtr<ui::LevelLoader> l = loader;
  VMPtr<Barriers> list = barriers;
  for (int32_t i = 0; list && i < list->length; ++i) {
    VMPtr<InGameBarrier> b = list->get(i);
    if (!b) continue;
    b->setLayerValue(0, 0);
    b->setLayerPosition(0, VMPtr<Ints>(l->barrierX)->at(i), VMPtr<Ints>(l->barrierY)->at(i));
    b->reset();
  }
}

// The array in one frame, its objects in the next.
void InGame::makeBarriers() {
  VMPtr<ui::LevelLoader> l = loader;
  if (ui::LevelLoader::barrierCount <= 0) {
    subStep = 8;
    return;
  }
  if (!barriers) {
    barriers = Barriers::create(l->barrierGroupSize);
    return;
  }
  _VM_clinitCheck();
  VMPtr<Ints> gobs = gobIdsByKind;
  VMPtr<Ints> anims = animIdsByKind;
  VMPtr<Barriers> list = barriers;
  for (int32_t i = 0; i < list->length; ++i) {
    if (list->get(i)) continue;
    const int32_t type = VMPtr<Ints>(l->barrierKind)->at(i);
    const int32_t variant = VMPtr<Ints>(l->barrierVariant)->at(i);
    VMPtr<InGameBarrier> b = InGameBarrier::_VM_new();
    b->_VM_init();
    list->set(i, b);
    b->initLayers(2);
    b->addPlayerLayer(gobs->at(type) + variant, anims->at(type) + variant, 0, VMPtr<Ints>(l->barrierX)->at(i),
                      VMPtr<Ints>(l->barrierY)->at(i));
    b->setKind(VMPtr<VMArray<int32_t, 2>>(l->barrierParams)->get(i)->at(0));
    if (b->getKind() != 4) b->setArmed(1);
  }
  subStep = 8;
}

// The last step: the HUD as built, the objects settled by fifteen ticks,
// playing from the camera's first position.
void InGame::finishLevelLoading() {
  debugLine("LOOP COUNT1!!");
  if (VMPtr<ui::Screen>(screen)->getLayerValue(0) != 0) resetHud();
  debugLine("LOOP COUNT2!!");
  for (int32_t i = 0; i < kItemsPerLevel; ++i) tickObjects();
  debugLine("LOOP COUNT3!!");
  Main::_VM_clinitCheck();
  VMPtr<Main> controller = Main::instance;
  if (controller) controller->playSound();
  state = kPlaying;
  InGameObject::_VM_clinitCheck();
  InGameObject::gathered = 0;
  subStep = 0;
  updateCamera();
  VMPtr<Ints> x = viewX;
  VMPtr<Ints> y = viewY;
  VMPtr<tq::CellLayer>(farLayer)->setPosition(x->at(0), y->at(0));
  VMPtr<tq::CellLayer> front = frontLayer;
  if (front) front->setPosition(x->at(2), y->at(2));
  VMPtr<tq::CellLayer>(mapLayer)->setPosition(x->at(2), y->at(2));
}

// Undoes what the results tally does to the HUD and the counter box.
void InGame::resetHud() {
  const int32_t tier = Game::tier;
  VMPtr<ui::Screen> hud = screen;
  hud->setFrameLayer(0, kHudGobs, kHudFrames, 2 * tier + 2, 0, kViewHeight);
  hud->setFrameLayer(1, kHudGobs, kHudFrames, 2 * tier + 3, kScreenWidth, kViewHeight);
  hud->setFrameLayer(2, kHudGobs, kHudFrames, 0, kScreenWidth / 2, 0);
  hud->setLayerValue(3, 1);
  hud->setLayerValue(4, 0);
  hud->setLayerPosition(4, 0, 0);
  hud->setLayerValue(10, 1);
  hud->setLayerPosition(10, kScreenWidth, 0);
  for (int32_t i = 0; i < kIcons; ++i) {
    for (const auto& [holder, frame] : {std::pair<int32_t, int32_t>{4, 1}, {10, 3}}) {
      const int32_t icon = holder + 1 + i;
      VMPtr<Ints> r = layerRect(hud, holder, i);
      // A marker of the tally is an image layer: it becomes an icon again.
      if (hud->getLayerValue(icon) < 0) {
        hud->setFrameLayer(icon, kIconGobs[tier], kIconAnims[tier], frame, r->at(0), r->at(1));
      } else {
        hud->setLayerValue(icon, frame);
        hud->setLayerPosition(icon, r->at(0), r->at(1));
      }
      if (i >= kIcons - tier) hud->setLayerValue(icon, 4);
    }
  }
  VMPtr<ui::Addon> counter = menu;
  VMPtr<Ints> r = layerRect(hud, 2, 0);
  counter->setItem(0, String::_VM_fromUTF8("0/15"), r->at(0), r->at(1), r->at(2), r->at(3));
  counter->setItemCount(1);
}

}  // namespace scene::maingame
