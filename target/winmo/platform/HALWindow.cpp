#include "HALWindow.h"

#include "HALDisplayable.h"

#include <string>

#include "HALCallbacks.h"
#include "HALEvents.h"
#include "HALOrientation.h"
#include "HALPower.h"
#include "HALProperties.h"
#include "HALShell.h"
#include "HALString.h"
#include "HALDevice.h"
#include "HALWindowObject.h"

using namespace ce;

namespace {

HWND mainWindow = nullptr;
HANDLE instanceLock = nullptr;
HREGNOTIFY phoneStatusNotification = nullptr;
HREGNOTIFY unreadSmsNotification = nullptr;

constexpr uint32_t kAlreadyExists = 183;
constexpr int kShowRestore = 13;
constexpr uintptr_t kSettingChangeOrientation = 0x3002;
constexpr uintptr_t kKeepAwakeTimer = 1;

// Another instance of the same name runs: bring it to the front.
void raiseOtherInstance(const char16_t* name) {
  HWND other = FindWindowW(name, nullptr);
  if (!other) return;
  SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(other) | 1));
  if (IsWindowEnabled(other)) ShowWindow(other, kShowRestore);
}

void registerNotifications(HWND window) {
  RegistryNotifyWindow(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Status", window, HAL_MSG_PHONE_STATUS, 0,
                       nullptr, &phoneStatusNotification);
  RegistryNotifyWindow(HKEY_CURRENT_USER, u"System\\State\\Messages\\SMS\\Unread", u"Count", window,
                       HAL_MSG_UNREAD_SMS, 0, nullptr, &unreadSmsNotification);
}

void activate(HWND window, WPARAM wParam, LPARAM lParam) {
  const uint32_t state = wParam & 0xFFFF;
  const uint32_t minimized = (wParam >> 16) & 0xFFFF;
  if ((state == 1 || state == 2) && minimized == 0) {
    HAL_setWindowActive(true);
    if (HALWindowObject* object = HAL_getWindowObject()) object->setFullScreen(object->isFullScreen());
  } else {
    HAL_setWindowActive(false);
  }
  SHHandleWMActivate(window, wParam, lParam, nullptr, 0);
}

void reorient() {
  HAL_reapplyOrientation();
  if (HALWindowObject* object = HAL_getWindowObject()) object->updateSize();
}

}  // namespace

int HAL_createWindow(void* instance, const char16_t* name, WNDPROC procedure) {
  WNDCLASSW windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = static_cast<HINSTANCE>(instance);
  windowClass.lpszClassName = name;
  RegisterClassW(&windowClass);
  mainWindow = CreateWindowW(name, name, WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             nullptr, nullptr, static_cast<HINSTANCE>(instance), nullptr);
  if (!mainWindow) return 0;
  registerNotifications(mainWindow);
  return 1;
}

int HAL_createMainWindow(void* instance, int showCommand) {
  HALString* name = HAL_getMIDletName();
  if (!name) return 0;
  const std::u16string text(name->chars(), static_cast<size_t>(name->length()));
  HALString::release(name);
  const std::u16string lockName = u"Local\\" + text;
  instanceLock = CreateMutexW(nullptr, FALSE, lockName.c_str());
  if (instanceLock && GetLastError() == kAlreadyExists) {
    CloseHandle(instanceLock);
    instanceLock = nullptr;
    raiseOtherInstance(text.c_str());
    return 0;
  }
  if (!HAL_createWindow(instance, text.c_str(), HAL_classWindowProc)) return 0;
  HAL_setMainWindowPoster(HAL_postToMainWindow);
  ShowWindow(mainWindow, showCommand);
  return 1;
}

void HAL_closeRegistryNotifications() {
  if (phoneStatusNotification) RegistryCloseNotification(phoneStatusNotification);
  if (unreadSmsNotification) RegistryCloseNotification(unreadSmsNotification);
  phoneStatusNotification = unreadSmsNotification = nullptr;
}

void HAL_closeInstanceLock() {
  if (instanceLock) CloseHandle(instanceLock);
  instanceLock = nullptr;
}

HWND HAL_getMainWindow() { return mainWindow; }

bool HAL_postToMainWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return mainWindow && PostMessageW(mainWindow, message, wParam, lParam);
}

void HAL_setWindowObject(HALWindowObject* object) {
  if (!mainWindow) return;
  SetWindowLongPtrW(mainWindow, GWL_USERDATA, reinterpret_cast<intptr_t>(object));
  InvalidateRect(mainWindow, nullptr, TRUE);
  UpdateWindow(mainWindow);
}

HALWindowObject* HAL_getWindowObject() {
  return mainWindow ? reinterpret_cast<HALWindowObject*>(GetWindowLongPtrW(mainWindow, GWL_USERDATA)) : nullptr;
}

LRESULT HAL_classWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HALWindowObject* object = window == mainWindow ? HAL_getWindowObject() : nullptr;
  if (object) return object->handleMessage(window, message, wParam, lParam);
  if (window == mainWindow || !mainWindow) return HAL_mainWindowProc(window, message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT HAL_mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_SIZE:
      reorient();
      return 0;
    case WM_ACTIVATE:
      activate(window, wParam, lParam);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_CLOSE:
    case HAL_MSG_EXIT:
      HAL_exitApplication();
      DestroyWindow(window);
      return 0;
    case WM_ERASEBKGND:
      return -1;
    case WM_SETTINGCHANGE:
      if (wParam == kSettingChangeOrientation) reorient();
      return 0;
    case WM_TIMER:
      if (wParam == kKeepAwakeTimer) HAL_keepAwakeTick();
      return 0;
    case HAL_MSG_COLLECT:
      HAL_collectGarbage();
      return 0;
    case HAL_SERIAL_CALLS_MESSAGE:
      HAL_runSerialCalls();
      return 0;
    case HAL_MSG_PHONE_STATUS:
    case HAL_MSG_UNREAD_SMS:
    case HAL_MSG_PRESENT:
      return 0;
    case HAL_MSG_POWER:
      HAL_setPowerOn(wParam == 1);
      return 0;
    case HAL_MSG_FULL_SCREEN:
      HALWindowObject::applyFullScreenRequests();
      return 0;
    case HAL_MSG_ORIENTATION:
      HAL_applySystemOrientation(static_cast<int32_t>(wParam));
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

HALStatus HAL_createCanvas(HALWindowObject** out, intptr_t identifier) {
  if (!out) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = new HALInputWindowObject(identifier);
  return HAL_OK;
}

HALStatus HAL_deleteCanvas(HALWindowObject* canvas) {
  delete canvas;
  return HAL_OK;
}

HALStatus HAL_setCurrentDisplayable(HALWindowObject* canvas) {
  HAL_setWindowObject(canvas);
  const intptr_t payload = canvas ? canvas->identifier() : 0;
  HAL_sendEvent(HAL_EVENT_SHOW_DISPLAYABLE, 1, &payload, false);
  return HAL_OK;
}

HALStatus HAL_setFullScreenMode(HALWindowObject* canvas, int on) {
  if (!canvas) return HAL_ILLEGAL_ARGUMENT_ERR;
  canvas->requestFullScreen(on != 0);
  return HAL_OK;
}

HALStatus HAL_getDisplayableSize(HALWindowObject* canvas, int32_t* width, int32_t* height) {
  if (!canvas) return HAL_ILLEGAL_ARGUMENT_ERR;
  canvas->screenSize(width, height);
  return HAL_OK;
}

void HAL_getClientAreaSize(int32_t* width, int32_t* height) {
  RECT client{};
  GetClientRect(mainWindow, &client);
  if (width) *width = client.right - client.left;
  if (height) *height = client.bottom - client.top;
}

void HAL_getInputCapabilities(uint8_t* hasPointerEvents, uint8_t* hasPointerMotionEvents, uint8_t* hasRepeatEvents) {
  if (hasPointerEvents) *hasPointerEvents = 0;
  if (hasPointerMotionEvents) *hasPointerMotionEvents = 0;
  if (hasRepeatEvents) *hasRepeatEvents = 1;
}

void HAL_getDisplayInfo(uint8_t* isColor, int32_t* numColors, int32_t* numAlphaLevels, int32_t* flag) {
  if (isColor) *isColor = 1;
  if (numColors) {
    const int bits = HAL_getScreenBitsPerPixel();
    *numColors = bits >= 31 ? INT32_MAX : int32_t{1} << bits;
  }
  if (numAlphaLevels) *numAlphaLevels = 32;
  if (flag) *flag = 1;
}
