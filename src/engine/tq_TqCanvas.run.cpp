// The canvas thread: run states, the pause and resume hand-over, the paint
// pass and the view.
#include <cstdint>

#include "VMJava.h"
#include "VMSynchronized.h"
#include "VMThread.h"
#include "java_lang_Throwable.h"
#include "tq_Resources.h"
#include "tq_TqCanvas.h"
#include "tq_input_PointerInputEventManager.h"
#include "tq_input_PointerInputKeyManager.h"
#include "tq_platform_brume_TqBrume.h"

namespace tq {

using input::PointerInputEventManager;
using input::PointerInputKeyManager;

namespace {

constexpr int8_t kRunning = 3;
constexpr int8_t kExiting = 4;
constexpr int32_t kPause = 1;
constexpr int32_t kResume = 2;
constexpr int32_t kQuit = 3;
constexpr int32_t kNone = -1;
// A resume completes no sooner than this after it was asked for.
constexpr int64_t kResumeDelay = 750;

}  // namespace

void TqCanvas::run() {
  _VM_clinitCheck();
  try {
    // A canvas that quits before it was ever shown ends here too.
    while (!started && runState != kExiting) sleep(50);
    if (runState == kExiting) return;
    PointerInputKeyManager::init();
    PointerInputEventManager::init();
    sizeChangedFlag = 0;
    updateScreenSize();
    runState = kRunning;
    onAppEvent(0);
    if (!runPasses()) return;
    stopInput();
    instance = nullptr;
  } catch (java::lang::Throwable* t) {
    failRun(VMPtr<java::lang::Throwable>(t));
  }
}

bool TqCanvas::runPasses() {
  while (runState != kExiting) {
    if (!runOnePass()) return false;
  }
  return true;
}

bool TqCanvas::runOnePass() {
  if (sizeChangedFlag) {
    // Cleared first, so that a change during the update is not lost.
    sizeChangedFlag = 0;
    updateScreenSize();
    onAppEvent(4);
  }
  handlePause();
  if (!isShown()) {
    sleep(100);
    resetTiming = 1;
  } else {
    waitFrame();
    runJobs();
    tick();
    if (runState == kExiting) return false;
    VMPtr<MediaManager> media = mediaManager;
    if (media && isShown()) {
      _VM_cast<java::lang::Runnable>(media)->run();
      if (runState == kExiting) return false;
    }
    if (isShown()) {
      repaintThisFrame = repaintPending;
      repaintPending = 0;
      renderFrame(getGraphics());
      flushGraphics();
    }
  }
  VMThread::yield();
  return true;
}

void TqCanvas::stopInput() {
  PointerInputKeyManager::removeRegions(0);
  PointerInputEventManager::setEnabled(0);
  PointerInputEventManager::clear();
  PointerInputEventManager::setIgnoreInput(0);
  PointerInputEventManager::setPaused(0);
}

void TqCanvas::failRun(VMPtr<java::lang::Throwable> thrown) {
  thrown->printStackTrace();
  bool released = true;
  try {
    onAppEvent(kQuit);
  } catch (java::lang::Throwable* t) {
    VMPtr<java::lang::Throwable> again(t);
    again->printStackTrace();
    released = false;
  }
  if (!released || runState != kExiting) {
    if (runState != kExiting) quit();
    VMPtr<MIDlet> owner = midlet;
    if (owner) owner->notifyDestroyed();
  }
  platform::brume::TqBrume::exitWithFailure();
}

void TqCanvas::showNotify() {
  requestState(kResume);
  _VM_clinitCheck();
  started = 1;
}

void TqCanvas::hideNotify() { requestState(kPause); }

void TqCanvas::requestState(int32_t state) {
  _VM_clinitCheck();
  if (runState == kExiting) return;
  if (state != kPause && state != kResume) {
    onAppEvent(state);
    return;
  }
  if (runState != kRunning) return;
  VMPtr<MediaManager> media = mediaManager;
  if (media) media->stop(-1);
  if (state == kPause) PointerInputEventManager::setPaused(1);
  VMPtr<java::lang::Thread> monitor = canvasThread;
  if (monitor) {
    VMSynchronized lock(monitor);
    pendingRequest = state;
    requestTime = getTimeMillis();
  } else {
    pendingRequest = state;
    requestTime = getTimeMillis();
  }
}

void TqCanvas::onAppEvent(int32_t code) {
  _VM_clinitCheck();
  if (code == kQuit) {
    if (runState == kExiting) return;
    quit();
    VMPtr<MIDlet> owner = midlet;
    if (owner) owner->notifyDestroyed();
  } else if (code == 0 || code == kPause || code == kResume) {
    repaintPending = 1;
    resetTiming = 1;
    resetKeys();
  }
}

void TqCanvas::quit() {
  _VM_clinitCheck();
  runState = kExiting;
  canvasThread = nullptr;
  Resources::closePack();
  VMPtr<MediaManager> media = mediaManager;
  if (media) media->close();
}

void TqCanvas::handlePause() {
  _VM_clinitCheck();
  // The loop also ends on a quit, so that a resume waiting for a canvas
  // that is never shown again cannot keep the thread from exiting.
  while (pendingRequest != kNone && runState != kExiting) {
    if (pauseState != kPause) {
      PointerInputEventManager::setIgnoreInput(1);
      PointerInputEventManager::releaseAll();
      PointerInputEventManager::setPaused(0);
      onAppEvent(kPause);
      pauseState = kPause;
    }
    VMPtr<java::lang::Thread> monitor = canvasThread;
    if (!monitor) return;
    {
      VMSynchronized lock(monitor);
      if (pendingRequest == kPause) pendingRequest = kNone;
    }
    while (resumePending()) {
      if (getTimeMillis() - requestTime < kResumeDelay) {
        sleep(250);
      } else {
        completeResume();
      }
    }
  }
}

// Waits while a resume is pending and the canvas is hidden; true when a
// resume is pending and the canvas is shown.
bool TqCanvas::resumePending() {
  while (pendingRequest == kResume && !isShown() && runState != kExiting) sleep(50);
  return pendingRequest == kResume && isShown() && runState != kExiting;
}

void TqCanvas::completeResume() {
  bool resumed = false;
  VMPtr<java::lang::Thread> monitor = canvasThread;
  if (monitor) {
    VMSynchronized lock(monitor);
    if (pendingRequest == kResume) {
      pendingRequest = kNone;
      resumed = true;
    }
  }
  if (!resumed) return;
  onAppEvent(kResume);
  PointerInputEventManager::setPaused(0);
  PointerInputEventManager::setIgnoreInput(0);
  pauseState = kResume;
  onAppEvent(5);
}

void TqCanvas::renderFrame(VMPtr<Graphics> g) {
  if (!g) {
    repaintPending = 1;
    return;
  }
  _VM_clinitCheck();
  if (screenWidth != viewWidth || screenHeight != viewHeight) {
    if (repaintThisFrame) fillBands(g);
    g->translate(viewX, viewY);
  }
  resetClip(g);
  paintFrame(g);
}

// Black bands above and below, left and right of a view smaller than the
// screen.
void TqCanvas::fillBands(VMPtr<Graphics> g) {
  g->setColor(static_cast<int32_t>(0xFF000000u));
  const int32_t bandHeight = static_cast<int32_t>(static_cast<uint32_t>(screenHeight - viewHeight + 1) >> 1);
  if (bandHeight > 0) {
    if (viewY > 0) g->fillRect(0, 0, screenWidth, viewY);
    g->fillRect(0, screenHeight - bandHeight, screenWidth, bandHeight);
  }
  const int32_t bandWidth = static_cast<int32_t>(static_cast<uint32_t>(screenWidth - viewWidth + 1) >> 1);
  if (bandWidth > 0) {
    if (viewX > 0) g->fillRect(0, viewY, viewX, viewHeight);
    g->fillRect(screenWidth - bandWidth, viewY, bandWidth, viewHeight);
  }
}

uint8_t TqCanvas::updateScreenSize() {
  _VM_clinitCheck();
  screenWidth = getWidth();
  screenHeight = getHeight();
  setViewSize(requestedViewWidth, requestedViewHeight);
  return 1;
}

void TqCanvas::setViewSize(int32_t w, int32_t h) {
  _VM_clinitCheck();
  repaintPending = 1;
  requestedViewWidth = w;
  requestedViewHeight = h;
  if (w <= 0) w = screenWidth;
  if (h <= 0) h = screenHeight;
  viewX = (screenWidth - w) / 2;
  viewY = (screenHeight - h) / 2;
  viewWidth = w;
  viewHeight = h;
  updateInputArea();
}

void TqCanvas::updateInputArea() {
  PointerInputKeyManager::canvasChanged();
  PointerInputEventManager::canvasChanged();
}

void TqCanvas::sizeChanged(int32_t w, int32_t h) {
  requestRepaint();
  sizeChangedFlag = 1;
}

void TqCanvas::requestRepaint() { repaintPending = 1; }

int32_t TqCanvas::getScreenWidth() {
  _VM_clinitCheck();
  return screenWidth;
}

int32_t TqCanvas::getScreenHeight() {
  _VM_clinitCheck();
  return screenHeight;
}

void TqCanvas::resetClip(VMPtr<Graphics> g) { g->setClip(0, 0, viewWidth, viewHeight); }

}  // namespace tq
