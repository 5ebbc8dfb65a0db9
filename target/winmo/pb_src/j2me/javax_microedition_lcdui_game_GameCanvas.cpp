#include "javax_microedition_lcdui_game_GameCanvas.h"

#include "HALKeys.h"
#include "VMServices.h"

VM_REGISTER_CLASS(javax::microedition::lcdui::game::GameCanvas, "javax.microedition.lcdui.game.GameCanvas",
                  "javax.microedition.lcdui.Canvas", VM_ABSTRACT);

namespace javax::microedition::lcdui::game {

VMPtr<GameCanvas> GameCanvas::_VM_init(uint8_t suppressKeyEvents) {
  Canvas::_VM_init();
  this->suppressKeyEvents = suppressKeyEvents != 0;
  HALScreen* screen = nullptr;
  if (HAL_createScreenBuffer(nativeHandle, &screen) != HAL_OK) _VM_fatalError("HAL_createScreenBuffer() failed.");
  screenBuffer = screen;
  return VMPtr<GameCanvas>(this);
}

GameCanvas::~GameCanvas() {
  // The screen tells the contexts over it that it is gone; the Graphics
  // itself may already have been collected, so it is not touched here.
  if (screenBuffer != nullptr) HAL_deleteScreenBuffer(screenBuffer);
  screenBuffer = nullptr;
}

void GameCanvas::paint(VMPtr<Graphics> g) { g->drawScreenBuffer(screenBuffer); }

VMPtr<Graphics> GameCanvas::getGraphics() {
  VMPtr<Graphics> g = graphics;
  if (!g) {
    g = Graphics::create(screenBuffer);
    // Another thread may have made one while the allocation let it run:
    // the first one stays the only one.
    if (graphics) return graphics;
    graphics = g;
    return g;
  }
  int32_t width = 0;
  int32_t height = 0;
  HAL_getScreenBufferSize(screenBuffer, &width, &height);
  g->setSize(width, height);
  g->reset(true);
  return g;
}

int32_t GameCanvas::getKeyStates() { return static_cast<int32_t>(HAL_getKeyStates()); }

void GameCanvas::flushGraphics() {
  if (HAL_flushScreenBuffer(screenBuffer) != HAL_OK) _VM_fatalError("HAL_flushScreenBuffer() failed.");
}

void GameCanvas::flushGraphics(int32_t x, int32_t y, int32_t width, int32_t height) {
  if (HAL_flushScreenBufferRegion(screenBuffer, x, y, width, height) != HAL_OK) {
    _VM_fatalError("HAL_flushScreenBufferRegion() failed.");
  }
}

void GameCanvas::_VM_markReferences(int colour) {
  _VM_mark(graphics, colour);
  Canvas::_VM_markReferences(colour);
}

}  // namespace javax::microedition::lcdui::game
