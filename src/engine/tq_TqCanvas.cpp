#include "tq_TqCanvas.h"

#include "VMCollector.h"

VM_REGISTER_CLASS(tq::TqCanvas, "tq.TqCanvas", "javax.microedition.lcdui.game.GameCanvas",
                  VM_ABSTRACT | VM_HAS_CLINIT);
VM_IMPLEMENTS(tq::TqCanvas, "java.lang.Runnable");

namespace tq {

VMStatic<TqCanvas> TqCanvas::instance;
int8_t TqCanvas::runState;
uint8_t TqCanvas::started;
VMStatic<java::lang::Thread> TqCanvas::canvasThread;
int32_t TqCanvas::screenWidth;
int32_t TqCanvas::screenHeight;
VMStatic<VMArray<int32_t>> TqCanvas::keyCodes;
int32_t TqCanvas::nextKeyNumber;
VMStatic<VMArray<int8_t>> TqCanvas::writeBuffer;
int32_t TqCanvas::writePosition;
VMStatic<VMArray<int8_t>> TqCanvas::readBuffer;
int32_t TqCanvas::readPosition;

namespace {

// Key number -> MIDP key code; the other numbers stay 0, which no event has.
struct KeyCodeEntry {
  int32_t number;
  int32_t code;
};
constexpr KeyCodeEntry kKeyCodes[] = {{1, -1}, {2, -3}, {3, 35}, {5, -4}, {6, -2}, {8, 13}, {9, -10}, {10, 42},
                                      {15, -9}, {16, 48}, {17, 49}, {18, 50}, {19, 51}, {20, 52}, {21, 53},
                                      {22, 54}, {23, 55}, {24, 56}, {25, 57}, {26, -11}};

}  // namespace

void TqCanvas::_VM_clinit() {
  VMPtr<VMArray<int32_t>> codes = VMArray<int32_t>::create(64);
  for (const KeyCodeEntry& entry : kKeyCodes) codes->at(entry.number) = entry.code;
  keyCodes = codes;
  nextKeyNumber = 63;
}

VMPtr<TqCanvas> TqCanvas::_VM_init(VMPtr<MIDlet> midlet) {
  Base::_VM_init(0);
  inputLock = java::lang::Object::_VM_new()->_VM_init();
  frameKeys = VMArray<int8_t>::create(128);
  liveKeys = VMArray<int8_t>::create(128);
  pressedKeysCache = heldKeysCache = releasedKeysCache = 1;
  frameDuration = framePeriod = frameTime = 10;
  frameCap = maxFrameTime = 100;
  requestedViewWidth = requestedViewHeight = pendingRequest = -1;
  pauseState = 2;
  setFullScreenMode(1);
  _VM_clinitCheck();
  instance = VMPtr<TqCanvas>(this);
  this->midlet = midlet;
  runState = 0;
  started = 0;
  VMPtr<java::lang::Thread> thread = java::lang::Thread::_VM_new();
  thread->_VM_init(VMPtr<java::lang::Runnable>(this));
  canvasThread = thread;
  thread->start();
  updateFrameLimits();
  updateScreenSize();
  return VMPtr<TqCanvas>(this);
}

void TqCanvas::_VM_markReferences(int colour) {
  _VM_mark(midlet, colour);
  _VM_mark(mediaManager, colour);
  _VM_mark(inputLock, colour);
  _VM_mark(liveKeys, colour);
  _VM_mark(frameKeys, colour);
  _VM_mark(jobQueue, colour);
  _VM_mark(jobLock, colour);
  _VM_mark(resultData, colour);
  _VM_mark(levelStream, colour);
  markText(colour);
  Base::_VM_markReferences(colour);
}

}  // namespace tq
