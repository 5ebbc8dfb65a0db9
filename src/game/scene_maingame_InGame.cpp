#include "scene_maingame_InGame.h"

#include "java_io_PrintStream.h"
#include "java_lang_StringBuffer.h"
#include "java_lang_System.h"
#include "main_Game.h"
#include "main_Main.h"
#include "scene_SceneManager.h"
#include "ui_ListMenu.h"
#include "ui_Pointer.h"

VM_REGISTER_CLASS(scene::maingame::InGame, "scene.maingame.InGame", "ui.Scene", VM_INSTANTIABLE | VM_HAS_CLINIT);

namespace scene::maingame {

using main::Game;
using main::Main;

VMStatic<VMArray<int32_t>> InGame::gobIdsByKind;
VMStatic<VMArray<int32_t>> InGame::animIdsByKind;

namespace {

// Record types with their sprite and animation sets.
struct KindSets {
  int32_t type;
  int32_t gobs;
  int32_t anims;
};
constexpr KindSets kKindSets[] = {
    {0, 0x3C0A, 0x3C00},  {1, 0x3407, 0x3400},  {2, 0x340C, 0x3405}, {3, 0x340D, 0x3406},
    {4, 0x300C, 0x3000},  {5, 0x3016, 0x300A},  {6, 0x3017, 0x300B}, {7, 0x2C05, 0x2C00},
    {8, 0x2C0A, 0x2C04},  {14, 0x3808, 0x3800}, {17, 0x0C08, 0x0C03},
};

// The pause list's rows: resume, restart, quit.
constexpr int32_t kPauseRows[] = {32, 45, 1};

}  // namespace

void InGame::_VM_clinit() {
  VMPtr<Ints> gobs = Ints::create(kRecordTypes);
  VMPtr<Ints> anims = Ints::create(kRecordTypes);
  for (const KindSets& k : kKindSets) {
    gobs->at(k.type) = k.gobs;
    anims->at(k.type) = k.anims;
  }
  gobIdsByKind = gobs;
  animIdsByKind = anims;
}

VMPtr<InGame> InGame::_VM_init() {
  Base::_VM_init();
  VMPtr<Ints> list = Ints::create(5);
  list->at(1) = -1;
  unlockList = list;
  state = kLoading;
  return VMPtr<InGame>(this);
}

VMPtr<InGame> InGame::_VM_init(int32_t) { return _VM_init(); }

// --- HUD and widgets -----------------------------------------------------------

void InGame::loadStep() {
  Game::_VM_clinitCheck();
  const int32_t tier = Game::tier;
  VMPtr<ui::Screen> hud = screen;
  switch (loadCounter) {
    case 0: {
      hud = ui::Screen::_VM_new();
      hud->_VM_init();
      screen = hud;
      hud->setBackgroundEnabled(0);
      hud->initLayers(kHudLayers);
      loadCounter = 9;
      return;
    }
    case 9:
      hud->addFrameLayer(kHudGobs, kHudFrames, 2 * tier + 2, 0, kViewHeight);
      break;
    case 8:
      hud->addFrameLayer(kHudGobs, kHudFrames, 2 * tier + 3, kScreenWidth, kViewHeight);
      break;
    case 7:
      hud->addFrameLayer(kHudGobs, kHudFrames, 0, kScreenWidth / 2, 0);
      break;
    case 6:
      hud->addFrameLayer(kHudGobs, kHudFrames, 1, kScreenWidth, kScreenHeight);
      break;
    case 5:
      addIconRow(hud, 4, 0, 0, 1);
      break;
    case 4:
      addIconRow(hud, 10, 1, kScreenWidth, 3);
      break;
    case 3:
      hud->setDepth(kHudDepth);
      addObject(hud);
      break;
    case 2: {
      VMPtr<ui::Screen> o = ui::Screen::_VM_new();
      o->_VM_init();
      overlay = o;
      o->initLayers(kOverlayLayers);
      o->setVisible(0);
      break;
    }
    case 1: {
      VMPtr<ui::Screen> o = overlay;
      o->addFrameLayer(kPanelGobs, kPanelFrames, 4, kScreenWidth / 2, kScreenHeight / 2);
      o->setDepth(kOverlayDepth);
      addObject(o);
      break;
    }
    default:
      break;
  }
  --loadCounter;
}

// The holder (frame `holderFrame` of the panel sets at (x, 0)) in layer
// `holder`, then its five icons at the holder's boxes 0..4.
void InGame::addIconRow(VMPtr<ui::Screen> hud, int32_t holder, int32_t holderFrame, int32_t x, int32_t iconFrame) {
  const int32_t tier = Game::tier;
  hud->addFrameLayer(kPanelGobs, kPanelFrames, holderFrame, x, 0);
  for (int32_t i = 0; i < kIcons; ++i) {
    VMPtr<Ints> r = layerRect(hud, holder, i);
    hud->addFrameLayer(kIconGobs[tier], kIconAnims[tier], iconFrame, r->at(0), r->at(1));
  }
}

void InGame::createWidgets() {
  VMPtr<ui::Addon> counter = ui::Addon::_VM_new();
  counter->_VM_init();
  menu = counter;
  counter->setItemCapacity(2);
  VMPtr<Ints> r = layerRect(screen, 2, 0);
  counter->addItem(String::_VM_fromUTF8("0/15"), r->at(0), r->at(1), r->at(2), r->at(3));
  counter->setItemFont(0, 1);
  counter->setDepth(kCounterDepth);
  addObject(counter);

  VMPtr<Ints> ids = Ints::create(3);
  for (int32_t i = 0; i < 3; ++i) ids->at(i) = kPauseRows[i];
  VMPtr<ui::ListMenu> list = ui::ListMenu::_VM_new();
  list->_VM_init();
  pauseMenu = list;
  list->setIdCount(3);
  r = layerRect(overlay, 0, 0);
  list->setBounds(r->at(0), r->at(1), r->at(2), r->at(3));
  list->setIds(ids);
  list->layout();
  list->setVisible(0);
  list->setActive(1);
  list->setDepth(kMenuDepth);
  addObject(list);
}

// --- Release ---------------------------------------------------------------

void InGame::removeAllObjects() {
  Scene::removeAllObjects();
  for (VMField<tq::CellLayer>* field : {&farLayer, &mapLayer}) {
    VMPtr<tq::CellLayer> layer = *field;
    if (!layer) continue;
    layer->setAnimatedCellCapacity(0);
    layer->setPoolCapacity(0);
    layer->clearTiles();
    *field = nullptr;
  }
  VMPtr<tq::CellLayer> front = frontLayer;
  if (front) {
    front->setAnimatedCellCapacity(0);
    frontLayer = nullptr;
  }
  VMPtr<ui::Screen> o = overlay;
  if (o) {
    o->clear();
    overlay = nullptr;
  }
  VMPtr<ui::Addon> m = pauseMenu;
  if (m) {
    m->clear();
    pauseMenu = nullptr;
  }
}

// --- Helpers ---------------------------------------------------------------

int32_t InGame::poolCapacity() {
  VMPtr<ui::LevelLoader> l = loader;
  return l->itemGroupSize + kHandlesPerBarrier * l->barrierGroupSize + 2;
}

void InGame::showCount(int32_t k) {
  VMPtr<java::lang::StringBuffer> b = java::lang::StringBuffer::_VM_new();
  b->_VM_init(String::valueOf(k));
  b->append(String::_VM_fromUTF8("/15"));
  VMPtr<ui::Addon>(menu)->setItemText(0, b->toString());
}

VMPtr<InGame::Ints> InGame::layerRect(VMPtr<ui::Screen> s, int32_t layer, int32_t box) {
  VMPtr<Ints> r = s->getLayerRect(layer, box);
  rect = r;
  return r;
}

VMPtr<java::lang::String> InGame::textOf(int32_t id) {
  return VMPtr<tq::util::text::Translation>(translation)->getString(id);
}

bool InGame::tapPending() {
  ui::Pointer::_VM_clinitCheck();
  VMPtr<VMArray<uint8_t>> released = ui::Pointer::released;
  return released && released->at(0);
}

bool InGame::pointerDown() {
  ui::Pointer::_VM_clinitCheck();
  VMPtr<VMArray<uint8_t>> down = ui::Pointer::down;
  return down && down->at(0);
}

void InGame::debugLine(const char* text) {
  java::lang::System::_VM_clinitCheck();
  VMPtr<java::io::PrintStream> out = java::lang::System::out;
  if (out) out->println(text);
}

VMPtr<InGame::Ints> InGame::idArray(std::initializer_list<int32_t> ids) {
  VMPtr<Ints> a = Ints::create(static_cast<int32_t>(ids.size()));
  int32_t i = 0;
  for (int32_t id : ids) a->at(i++) = id;
  return a;
}

void InGame::_VM_markReferences(int colour) {
  Base::_VM_markReferences(colour);
  _VM_mark(viewX, colour);
  _VM_mark(viewY, colour);
  _VM_mark(overlay, colour);
  _VM_mark(pauseMenu, colour);
  _VM_mark(mapLayer, colour);
  _VM_mark(barriers, colour);
  _VM_mark(frontLayer, colour);
  _VM_mark(unlockList, colour);
  _VM_mark(pickups, colour);
  _VM_mark(objectA, colour);
  _VM_mark(objectB, colour);
  _VM_mark(loader, colour);
  _VM_mark(farLayer, colour);
}

}  // namespace scene::maingame
