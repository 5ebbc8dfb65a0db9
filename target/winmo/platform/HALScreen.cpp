#include "HALScreen.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <vector>

#include "CeFramePresenter.h"
#include "HALGlobalLock.h"
#include "HALShell.h"
#include "HALWindow.h"
#include "RasterSurface.h"

namespace {

// Every live screen, for the message loop's present-pending step. Touched
// only under the global lock.
std::vector<HALScreen*>& screens() {
  static std::vector<HALScreen*> list;
  return list;
}

std::atomic<int64_t> presents{0};

// Hands the whole buffer to the main window; the window copies the pixels
// before this returns.
void present(HALScreen& screen) {
  presents.fetch_add(1);
  const RasterSurface& s = *screen.surface;
  CeFramePresenter::present(HAL_getMainWindow(), s.pixels, s.width, s.height, s.stride);
}

// A 1 x 1 surface for contexts whose screen is gone: they keep drawing, but
// into nothing anyone sees and inside an empty clip.
RasterSurface* nowhere() {
  static RasterSurface* surface = RasterSurface::createOpaque(1, 1);
  return surface;
}

// Reads the size from the source; on a change makes or reallocates the
// surface and tells every context. A size the surface cannot take keeps
// the old buffer. False when there is no surface at all.
bool resize(HALScreen& screen) {
  int32_t width = 0;
  int32_t height = 0;
  screen.sizeSource->screenSize(&width, &height);
  width = std::clamp(width, 1, int32_t{RasterSurface::kMaxSide});
  height = std::clamp(height, 1, int32_t{RasterSurface::kMaxSide});
  if (screen.surface != nullptr && width == screen.width && height == screen.height) return true;
  if (screen.surface == nullptr) {
    screen.surface = RasterSurface::createOpaque(width, height);
    if (screen.surface == nullptr) return false;
  } else if (!screen.surface->resize(width, height)) {
    return true;
  }
  screen.width = width;
  screen.height = height;
  for (int32_t i = 0; i < screen.contexts.count(); ++i) {
    static_cast<HALScreenContext*>(screen.contexts.get(i))->targetResized();
  }
  return true;
}

}  // namespace

HALScreenContext::HALScreenContext(HALScreen* screen)
    : RasterContext(nullptr, screen->surface), screen_(screen) {}

HALScreenContext::~HALScreenContext() {
  if (screen_ != nullptr) screen_->contexts.remove(this);
}

void HALScreenContext::targetResized() {
  RasterContext::targetResized();
  if (hook_ != nullptr && screen_ != nullptr) hook_(owner_, screen_->width, screen_->height);
}

void HALScreenContext::setResizeHook(ResizeHook hook, void* owner) {
  hook_ = hook;
  owner_ = owner;
}

void HALScreenContext::detach() {
  screen_ = nullptr;
  target = nowhere();
  clip = RasterRect{};
}

HALStatus HAL_createScreenBuffer(HALScreenSizeSource* sizeSource, HALScreen** out) {
  if (out == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = nullptr;
  if (sizeSource == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  auto* screen = new (std::nothrow) HALScreen();
  if (screen == nullptr) return HAL_OUT_OF_MEMORY_ERR;
  screen->sizeSource = sizeSource;
  if (!resize(*screen)) {
    delete screen;
    return HAL_OUT_OF_MEMORY_ERR;
  }
  screens().push_back(screen);
  sizeSource->attachScreen(screen);
  *out = screen;
  return HAL_OK;
}

void HAL_resizeScreenBuffer(HALScreen* screen) {
  if (screen != nullptr) resize(*screen);
}

HALStatus HAL_getScreenBufferSize(HALScreen* screen, int32_t* width, int32_t* height) {
  if (screen == nullptr || (width == nullptr && height == nullptr)) return HAL_ILLEGAL_ARGUMENT_ERR;
  if (width != nullptr) *width = screen->width;
  if (height != nullptr) *height = screen->height;
  return HAL_OK;
}

HALStatus HAL_flushScreenBuffer(HALScreen* screen) {
  if (screen == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  if (HAL_isMainThread()) {
    present(*screen);
    return HAL_OK;
  }
  // Hand the present to the main thread without holding the global lock
  // while the screen lock is taken, and without waiting for the present.
  // The flush that marks the screen pending wakes the main thread's loop
  // with a message; later ones find it pending and add nothing.
  const int levels = HAL_suspendGlobalLock();
  bool wasPending = false;
  {
    std::lock_guard<std::mutex> guard(screen->lock);
    wasPending = screen->pending;
    screen->pending = true;
  }
  if (!wasPending) HAL_postToMainWindow(HAL_MSG_PRESENT, 0, 0);
  HAL_resumeGlobalLock(levels);
  return HAL_OK;
}

HALStatus HAL_flushScreenBufferRegion(HALScreen* screen, int32_t, int32_t, int32_t, int32_t) {
  return HAL_flushScreenBuffer(screen);
}

void HAL_presentPendingScreen() {
  for (HALScreen* screen : screens()) {
    std::lock_guard<std::mutex> guard(screen->lock);
    if (!screen->pending) continue;
    present(*screen);
    screen->pending = false;
  }
}

HALStatus HAL_deleteScreenBuffer(HALScreen* screen) {
  if (screen == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  std::vector<HALScreen*>& list = screens();
  list.erase(std::remove(list.begin(), list.end(), screen), list.end());
  {
    std::lock_guard<std::mutex> guard(screen->lock);
    screen->pending = false;
  }
  while (screen->contexts.count() > 0) {
    static_cast<HALScreenContext*>(screen->contexts.get(0))->detach();
    screen->contexts.removeAt(0);
  }
  screen->sizeSource->attachScreen(nullptr);
  delete screen->surface;
  delete screen;
  return HAL_OK;
}

HALStatus HAL_createGraphicsWithScreenBuffer(RasterContext** out, HALScreen* screen) {
  if (out == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = nullptr;
  if (screen == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  auto* context = new (std::nothrow) HALScreenContext(screen);
  if (context == nullptr) return HAL_OUT_OF_MEMORY_ERR;
  if (!screen->contexts.append(context)) {
    delete context;  // not in the list: its destructor's remove finds nothing
    return HAL_OUT_OF_MEMORY_ERR;
  }
  *out = context;
  return HAL_OK;
}

int64_t HAL_countScreenPresents() { return presents.load(); }
