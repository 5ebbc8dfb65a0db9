#include "scene_maingame_InGame.h"

VM_REGISTER_CLASS(scene::maingame::InGame, "scene.maingame.InGame", "ui.Scene", VM_INSTANTIABLE | VM_HAS_CLINIT);

namespace scene::maingame {

VMStatic<VMArray<int32_t>> InGame::gobIdsByKind;
VMStatic<VMArray<int32_t>> InGame::animIdsByKind;

void InGame::_VM_clinit() {}

VMPtr<InGame> InGame::_VM_init() {
  Base::_VM_init();
  return VMPtr<InGame>(this);
}

VMPtr<InGame> InGame::_VM_init(int32_t) { return _VM_init(); }

void InGame::update() { Scene::update(); }

void InGame::loadStep() {}

void InGame::paintBackground(VMPtr<Graphics>) {}

void InGame::paint(VMPtr<Graphics> g) { Scene::paint(g); }

void InGame::removeAllObjects() { Scene::removeAllObjects(); }

void InGame::createWidgets() {}

void InGame::updatePlaying() {}

void InGame::tickObjects() {}

void InGame::updateCamera() {}

void InGame::loadLevelStep() {}

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
