#include "UiEnv.h"

#include "tq_Resources.h"
#include "tq_ResourcesExt.h"
#include "tq_input_PointerInputEventManager.h"
#include "tq_input_PointerInputKeyManager.h"

VM_REGISTER_CLASS(gametest::RecordingGraphics, "gametest.RecordingGraphics", "javax.microedition.lcdui.Graphics", 0);

namespace gametest {

using main::Main;
using tq::input::PointerInputEventManager;
using tq::input::PointerInputKeyManager;

namespace {

bool writePacks(GameEnv& env) {
  writeUiPacks(env.folder.root() / "rsc");
  return true;
}

// A controller of an earlier test leaves its font slots named: forget
// them, so that this test's controller loads its glyphs.
VMPtr<Main> freshMain(GameEnv& env) {
  Main::_VM_clinitCheck();
  VMPtr<VMArray<int32_t>> slots = Main::fontGlyphIds;
  for (int32_t i = 0; slots && i < slots->length; ++i) slots->at(i) = -1;
  Main::currentGlyphId = -1;
  VMPtr<Main> m = env.makeMain();
  m->loadTranslation(0x5000);
  return m;
}

VMPtr<ui::Pointer> touchManagers(GameEnv& env) {
  initTouch(env.canvas);
  VMPtr<ui::Pointer> p = ui::Pointer::_VM_new();
  return p->_VM_init();
}

}  // namespace

void initTouch(const VMPtr<tq::TqCanvas>& canvas) {
  canvas->setViewWidth(Main::kGameWidth);
  canvas->setViewHeight(Main::kGameHeight);
  PointerInputKeyManager::init();
  PointerInputKeyManager::removeRegions(0);
  PointerInputEventManager::init();
  PointerInputEventManager::setArea(0, 0, Main::kGameWidth, Main::kGameHeight);
}

UiEnv::UiEnv() : packs(writePacks(env)), main(freshMain(env)), pointer(touchManagers(env)) {}

UiEnv::~UiEnv() { Main::shutdown(); }

void UiEnv::touchFrame() { pointer->update(); }

void UiEnv::press(int32_t x, int32_t y) {
  env.canvas->pointerPressed(x, y);
  touchFrame();
}

void UiEnv::release(int32_t x, int32_t y) {
  env.canvas->pointerReleased(x, y);
  touchFrame();
}

void UiEnv::useGlyphs(int32_t id) {
  VMPtr<VMArray<tq::Gob>> set = tq::ResourcesExt::getGobs(id);
  tq::Resources::closePack();
  main->glyphSets->set(0, set);
  Main::fontGlyphIds->at(0) = id;
  Main::currentGlyphId = -1;
}

}  // namespace gametest
