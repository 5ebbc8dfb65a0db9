#include "javax_microedition_lcdui_Canvas.h"

#include "HALKeys.h"
#include "HALDisplayable.h"
#include "VMServices.h"
#include "VMSynchronized.h"
#include "VMThrow.h"
#include "java_lang_IllegalArgumentException.h"
#include "javax_microedition_lcdui_Display.h"

VM_REGISTER_CLASS(javax::microedition::lcdui::Canvas, "javax.microedition.lcdui.Canvas",
                  "javax.microedition.lcdui.Displayable", VM_ABSTRACT);

namespace javax::microedition::lcdui {

VMPtr<Canvas> Canvas::_VM_init() {
  Displayable::_VM_init();
  HALWindowObject* handle = nullptr;
  if (HAL_createCanvas(&handle, eventIdentifier()) != HAL_OK) _VM_fatalError("HAL_createCanvas() failed.");
  nativeHandle = handle;
  HAL_getInputCapabilities(&pointerEvents, &pointerMotionEvents, &repeatEvents);
  uint8_t colour = 0;
  int32_t colours = 0;
  int32_t alphaLevels = 0;
  int32_t doubleBufferedFlag = 0;
  HAL_getDisplayInfo(&colour, &colours, &alphaLevels, &doubleBufferedFlag);
  doubleBuffered = doubleBufferedFlag != 0;
  return VMPtr<Canvas>(this);
}

Canvas::~Canvas() {
  if (nativeHandle != nullptr) HAL_deleteCanvas(nativeHandle);
  nativeHandle = nullptr;
}

bool Canvas::passesKeyFilter(int32_t keyCode) {
  if (!suppressKeyEvents) return true;
  const int32_t action = getGameAction(keyCode);
  return action <= 0 || action == 3 || action == 4 || action == 7 || action > 12;
}

void Canvas::dispatchPaint(VMPtr<Graphics> g) {
  VMSynchronized guard(Display::eventLock());
  paint(g);
}

void Canvas::dispatchKeyPressed(int32_t keyCode) {
  if (!passesKeyFilter(keyCode)) return;
  VMSynchronized guard(Display::eventLock());
  keyPressed(keyCode);
}

void Canvas::dispatchKeyRepeated(int32_t keyCode) {
  if (!passesKeyFilter(keyCode)) return;
  VMSynchronized guard(Display::eventLock());
  keyRepeated(keyCode);
}

void Canvas::dispatchKeyReleased(int32_t keyCode) {
  if (!passesKeyFilter(keyCode)) return;
  VMSynchronized guard(Display::eventLock());
  keyReleased(keyCode);
}

void Canvas::dispatchPointerPressed(int32_t x, int32_t y) {
  VMSynchronized guard(Display::eventLock());
  pointerPressed(x, y);
}

void Canvas::dispatchPointerReleased(int32_t x, int32_t y) {
  VMSynchronized guard(Display::eventLock());
  pointerReleased(x, y);
}

void Canvas::dispatchPointerDragged(int32_t x, int32_t y) {
  VMSynchronized guard(Display::eventLock());
  pointerDragged(x, y);
}

void Canvas::dispatchShow() {
  VMSynchronized guard(Display::eventLock());
  showNotify();
}

void Canvas::dispatchHide() {
  VMSynchronized guard(Display::eventLock());
  hideNotify();
}

int32_t Canvas::getKeyCode(int32_t gameAction) {
  const int32_t code = HAL_getKeyCode(gameAction);
  if (code == 0) _VM_throwNew<java::lang::IllegalArgumentException>();
  return code;
}

VMPtr<java::lang::String> Canvas::getKeyName(int32_t keyCode) {
  char16_t name[HAL_KEY_NAME_CAPACITY];
  const int32_t length = HAL_getKeyName(keyCode, name, nullptr);
  return java::lang::String::_VM_fromUTF16(name, length);
}

int32_t Canvas::getGameAction(int32_t keyCode) { return HAL_getGameAction(keyCode); }

void Canvas::setFullScreenMode(uint8_t mode) {
  const uint8_t on = mode != 0;
  if (on == fullScreenMode) return;
  fullScreenMode = on;
  HAL_setFullScreenMode(nativeHandle, on);
}

}  // namespace javax::microedition::lcdui
