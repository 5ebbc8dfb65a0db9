#include "HALWindowObject.h"

#include <algorithm>
#include <vector>

#include "CeWindows.h"
#include "HALEvents.h"
#include "HALShell.h"
#include "HALVendor.h"
#include "HALWindow.h"

using namespace ce;

namespace {

// Objects whose full-screen switch waits for the main thread, each once, in
// the order asked. Guarded by the global lock, which every caller holds.
std::vector<HALWindowObject*>& fullScreenRequests() {
  static std::vector<HALWindowObject*> queue;
  return queue;
}

}  // namespace

HALWindowObject::HALWindowObject(intptr_t identifier) : identifier_(identifier) {
  RECT client{};
  GetClientRect(HAL_getMainWindow(), &client);
  width_ = client.right - client.left;
  height_ = client.bottom - client.top;
}

HALWindowObject::~HALWindowObject() {
  std::erase(fullScreenRequests(), this);
  if (HAL_getWindowObject() == this) HAL_setWindowObject(nullptr);
}

bool HALWindowObject::isVisible() const { return IsWindowVisible(HAL_getMainWindow()) != 0; }

void HALWindowObject::setFullScreen(bool on) { fullScreen_ = on; }

void HALWindowObject::requestFullScreen(bool on) {
  if (HAL_isMainThread() || HAL_getMainWindow() == nullptr) {
    setFullScreen(on);
    return;
  }
  fullScreen_ = on;
  std::vector<HALWindowObject*>& queue = fullScreenRequests();
  if (std::find(queue.begin(), queue.end(), this) != queue.end()) return;  // its message is on the way
  queue.push_back(this);
  HAL_postToMainWindow(HAL_MSG_FULL_SCREEN, 0, 0);
}

void HALWindowObject::applyFullScreenRequests() {
  // One at a time: the size-change event runs application code, which may
  // delete other queued objects (they leave the queue) or queue more.
  std::vector<HALWindowObject*>& queue = fullScreenRequests();
  while (!queue.empty()) {
    HALWindowObject* object = queue.front();
    queue.erase(queue.begin());
    object->setFullScreen(object->isFullScreen());
  }
}

intptr_t HALWindowObject::handleMessage(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return HAL_mainWindowProc(static_cast<HWND>(window), message, wParam, lParam);
}

void HALWindowObject::updateSize() {
  RECT client{};
  GetClientRect(HAL_getMainWindow(), &client);
  const int32_t width = client.right - client.left;
  const int32_t height = client.bottom - client.top;
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  if (screen_) HAL_resizeScreenBuffer(screen_);
  const intptr_t payload[3] = {identifier_, width, height};
  HAL_sendEvent(HAL_EVENT_SIZE_CHANGE, 3, payload, true);
}

void HALWindowObject::screenSize(int32_t* width, int32_t* height) {
  if (width) *width = width_;
  if (height) *height = height_;
}

HALInputWindowObject::HALInputWindowObject(intptr_t identifier)
    : HALWindowObject(identifier), keys_(HAL_raiseInputEvent, HAL_getWheelKeyTest()) {}

void HALInputWindowObject::setFullScreen(bool on) {
  fullScreen_ = on;
  HWND window = HAL_getMainWindow();
  SetForegroundWindow(window);
  RECT area{};
  if (on) {
    SHFullScreen(window, 42);
    area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  } else {
    SHFullScreen(window, 25);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  MoveWindow(window, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
  updateSize();
}

intptr_t HALInputWindowObject::handleMessage(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  // Stylus coordinates are the signed 16-bit halves of lParam.
  const auto x = static_cast<int16_t>(lParam & 0xFFFF);
  const auto y = static_cast<int16_t>((lParam >> 16) & 0xFFFF);
  switch (message) {
    case WM_KEYDOWN: keys_.keyDown(static_cast<uint32_t>(wParam), lParam); return 0;
    case WM_KEYUP: keys_.keyUp(static_cast<uint32_t>(wParam), lParam); return 0;
    case WM_CHAR: keys_.character(static_cast<uint32_t>(wParam)); return 0;
    case WM_MOUSEMOVE:
      if (wParam & MK_LBUTTON) pointer_.move(x, y);
      return 0;
    case WM_LBUTTONDOWN: pointer_.down(x, y); return 0;
    case WM_LBUTTONUP: pointer_.up(x, y); return 0;
    default: return HALWindowObject::handleMessage(window, message, wParam, lParam);
  }
}
