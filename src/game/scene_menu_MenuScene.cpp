#include "scene_menu_MenuScene.h"

#include "GameIds.h"
#include "java_lang_StringBuffer.h"
#include "main_Game.h"
#include "main_Main.h"
#include "ui_ListMenu.h"
#include "ui_MsgBoard.h"

VM_REGISTER_CLASS(scene::menu::MenuScene, "scene.menu.MenuScene", "ui.Scene", 0);

namespace scene::menu {

using main::Game;
using main::Main;
using java::lang::StringBuffer;

namespace {

constexpr const char* kVersion = "1.32.0";
constexpr int32_t kHelpTexts = 57;
constexpr int32_t kAwardTexts = 61;

}  // namespace

VMPtr<MenuScene> MenuScene::_VM_init(int32_t first) {
  Base::_VM_init();
  page = first;
  Game::_VM_clinitCheck();
  tier = Game::tier;
  group = Game::group;
  stage = Game::stage;
  selection = -1;
  Main::_VM_clinitCheck();
  VMPtr<Main> controller = Main::instance;
  controller->selectFont(0);
  controller->releaseFont(1);
  return VMPtr<MenuScene>(this);
}

void MenuScene::update() {
  Scene::update();
  if (!suspended) handlePage();
}

// The old background forgets its layers without giving its cache entries
// back; the old box gives back its own.
void MenuScene::restart() {
  Main::_VM_clinitCheck();
  Main::repaintAll = 1;
  VMPtr<ui::Screen> s = screen;
  if (s) s->clear();
  VMPtr<ui::Addon> box = menu;
  if (box) box->dispose();
  VMPtr<Objects> list = objects;
  for (int32_t i = 0; i < list->length; ++i) {
    VMPtr<ui::MyObject> o = list->get(i);
    if (!o) continue;
    o->clear();
    list->set(i, nullptr);
  }
  enter();
}

VMPtr<java::lang::String> MenuScene::textOf(int32_t id) {
  return VMPtr<tq::util::text::Translation>(translation)->getString(id);
}

VMPtr<java::lang::String> MenuScene::aboutText() {
  VMPtr<StringBuffer> b = StringBuffer::_VM_new();
  b->_VM_init(textOf(15));
  b->append(String::_VM_fromUTF8("\n"));
  b->append(textOf(16));
  b->append(String::_VM_fromUTF8(kVersion));
  b->append(String::_VM_fromUTF8("\n\n"));
  b->append(textOf(56));
  return b->toString();
}

// --- Menu boxes --------------------------------------------------------------

void MenuScene::createWidgets() {
  Game::_VM_clinitCheck();
  switch (page) {
    case 2:
      listBox(0, {11, 6, 12, 8, 7, 9}, false, -1, 0);
      break;
    case 3:
      listBox(1, {20, 21, 22, 23, 24, 39}, true, 0, 1);
      VMPtr<ui::Addon>(menu)->setSelectedRow(tier);
      break;
    case 4:
      listBox(1, {25, 26, 27, 28, 29, 39}, true, Game::unlockIndex(0, 0), Game::unlockIndex(1, 0) - Game::unlockIndex(0, 0));
      VMPtr<ui::Addon>(menu)->setSelectedRow(group);
      break;
    case 5:
      backItemBox(5);
      break;
    case 6:
      listBox(0, {13, 46, 39}, false, -1, 0);
      break;
    case 7:
      boardBox({8}, 8, textOf(kHelpTexts), {10, 40}, true);
      selection = 0;
      break;
    case 8:
      boardBox({7}, 7, aboutText(), {10}, true);
      break;
    case 9:
      boardBox({9, 43}, 3, VMPtr<String>(), {38, 37}, false);
      break;
    case 10:
      boardBox({13}, 3, textOf(44), {38, 37}, false);
      break;
    case 11:
      listBox(0, {47, 50, 51, 52, 53}, false, -1, 0);
      break;
    case 21:
      boardBox({}, 15, textOf(kAwardTexts + selection), {39}, true);
      break;
    case 22:
      backItemBox(12);
      break;
    default:
      break;
  }
}

VMPtr<MenuScene::Ints> MenuScene::idArray(std::initializer_list<int32_t> ids) {
  VMPtr<Ints> a = Ints::create(static_cast<int32_t>(ids.size()));
  int32_t i = 0;
  for (int32_t id : ids) a->at(i++) = id;
  return a;
}

// A list over box 0 of background layer `layer`. With `firstLock` >= 0,
// entry i (i < 5) is disabled when unlock flag firstLock + i * lockStep is
// clear.
void MenuScene::listBox(int32_t layer, std::initializer_list<int32_t> ids, bool board, int32_t firstLock,
                        int32_t lockStep) {
  VMPtr<Ints> a = idArray(ids);
  if (firstLock >= 0) {
    VMPtr<VMArray<int8_t>> unlocks = Game::unlockFlags;
    for (int32_t i = 0; i < kStages; ++i) {
      if (unlocks->at(firstLock + i * lockStep) == 0) a->at(i) = 0;
    }
  }
  VMPtr<ui::ListMenu> list = ui::ListMenu::_VM_new();
  list->_VM_init();
  if (board) list->setBoardMode(1);
  list->setIdCount(a->length);
  VMPtr<Ints> r = layerRect(layer, 0);
  list->setBounds(r->at(0), r->at(1), r->at(2), r->at(3));
  list->setIds(a);
  list->layout();
  addBox(list);
}

// A board of the frame set's frame `frame` with its title items, text
// (none when null) and answers.
void MenuScene::boardBox(std::initializer_list<int32_t> titles, int32_t frame, VMPtr<String> text,
                         std::initializer_list<int32_t> ids, bool scrollable) {
  VMPtr<ui::MsgBoard> board = ui::MsgBoard::_VM_new();
  board->_VM_init();
  if (titles.size() != 0) {
    board->setItemCapacity(static_cast<int32_t>(titles.size()));
    for (int32_t id : titles) board->addItem(id, 0, 0);
  }
  board->setCentredFrame(frame);
  if (text) board->setText(text);
  board->setIdCount(static_cast<int32_t>(ids.size()));
  board->setIds(idArray(ids));
  board->layout();
  if (scrollable) board->setScrollable(1);
  addBox(board);
}

// A plain box whose one item, the back text, fills box `box` of layer 2.
void MenuScene::backItemBox(int32_t box) {
  VMPtr<ui::Addon> plain = ui::Addon::_VM_new();
  plain->_VM_init();
  plain->setItemCapacity(1);
  VMPtr<Ints> r = layerRect(2, box);
  plain->addItem(gameids::kTextBack, r->at(0), r->at(1), r->at(2), r->at(3));
  addBox(plain);
}

void MenuScene::addBox(VMPtr<ui::Addon> box) {
  menu = box;
  box->setDepth(kBoxDepth);
  box->setActive(1);
  addObject(box);
}

}  // namespace scene::menu
