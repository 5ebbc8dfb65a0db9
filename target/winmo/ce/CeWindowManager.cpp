#include "CeWindowManager.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

#include "CeBackend.h"
#include "CeDisplay.h"
#include "CeGdi.h"
#include "CeProcess.h"
#include "DeviceProfile.h"

namespace ce {

// A window. Records are never freed, so a handle stays safe to look at
// after its window is destroyed.
struct CeWindow {
  std::u16string className;
  std::u16string title;
  WNDPROC procedure = nullptr;
  intptr_t userData = 0;
  RECT rect{};
  bool topLevel = true;
  bool alive = true;
  bool visible = false;
  bool invalid = false;
  bool erase = false;
  RECT invalidRect{};
  // A window of another process, found by FindWindowW.
  bool remote = false;
};

}  // namespace ce

using namespace ce;

namespace {

using Clock = std::chrono::steady_clock;

struct Timer {
  HWND window;
  uintptr_t id;
  std::chrono::milliseconds period;
  Clock::time_point due;
  TIMERPROC procedure;
};

struct WindowClass {
  std::u16string name;
  WNDPROC procedure;
};

struct State {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<WindowClass> classes;
  std::vector<CeWindow*> windows;
  std::deque<MSG> messages;
  std::vector<Timer> timers;
  HWND active = nullptr;
  uintptr_t nextTimerId = 0x7F00;
};

// Never destroyed: threads still running at exit may post.
State& state() {
  static State* s = new State();
  return *s;
}

// Looks a handle up (with the lock held); null for unknown handles.
CeWindow* find(HWND handle) {
  if (!handle) return nullptr;
  auto& windows = state().windows;
  return std::find(windows.begin(), windows.end(), handle) != windows.end() ? handle : nullptr;
}

CeWindow* live(HWND handle) {
  CeWindow* window = find(handle);
  return window && window->alive && !window->remote ? window : nullptr;
}

HWND mainLocked() {
  for (CeWindow* w : state().windows) {
    if (w->alive && !w->remote && w->topLevel) return w;
  }
  return nullptr;
}

bool passes(const MSG& msg, HWND window, UINT first, UINT last) {
  if (window && msg.hwnd != window && msg.message != WM_QUIT) return false;
  return (first == 0 && last == 0) || (msg.message >= first && msg.message <= last);
}

bool inRange(UINT message, UINT first, UINT last) {
  return (first == 0 && last == 0) || (message >= first && message <= last);
}

MSG makeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return MSG{window, message, wParam, lParam, GetTickCount(), {}};
}

void notifyLocked() {
  state().changed.notify_all();
}

// Finds the next message that passes the filters (the lock held): posted
// messages first, then paint, then a due timer.
bool nextMessage(MSG* msg, HWND window, UINT first, UINT last, bool remove) {
  State& s = state();
  for (auto it = s.messages.begin(); it != s.messages.end(); ++it) {
    if (passes(*it, window, first, last)) {
      *msg = *it;
      if (remove) s.messages.erase(it);
      return true;
    }
  }
  if (inRange(WM_PAINT, first, last)) {
    for (CeWindow* w : s.windows) {
      if (w->alive && !w->remote && w->invalid && (!window || window == w)) {
        *msg = makeMessage(w, WM_PAINT, 0, 0);
        return true;
      }
    }
  }
  if (inRange(WM_TIMER, first, last)) {
    const auto now = Clock::now();
    Timer* earliest = nullptr;
    for (Timer& t : s.timers) {
      if (t.due <= now && (!window || t.window == window) && (!earliest || t.due < earliest->due)) earliest = &t;
    }
    if (earliest) {
      *msg = makeMessage(earliest->window, WM_TIMER, earliest->id, reinterpret_cast<LPARAM>(earliest->procedure));
      if (remove) earliest->due = now + earliest->period;
      return true;
    }
  }
  return false;
}

// When the next timer that passes the filters is due.
std::optional<Clock::time_point> nextDue(HWND window, UINT first, UINT last) {
  std::optional<Clock::time_point> due;
  if (!inRange(WM_TIMER, first, last)) return due;
  for (const Timer& t : state().timers) {
    if ((!window || t.window == window) && (!due || t.due < *due)) due = t.due;
  }
  return due;
}

// Changes the active window (the lock held) and posts the activation
// messages; nothing when it does not change.
void activateLocked(HWND window, WPARAM inactiveState) {
  State& s = state();
  if (s.active == window) return;
  if (s.active && live(s.active)) s.messages.push_back(makeMessage(s.active, WM_ACTIVATE, inactiveState, 0));
  s.active = window;
  if (window) s.messages.push_back(makeMessage(window, WM_ACTIVATE, WA_ACTIVE, 0));
  notifyLocked();
}

void invalidateLocked(CeWindow* window, const RECT* rect, bool erase) {
  const RECT whole{0, 0, window->rect.right - window->rect.left, window->rect.bottom - window->rect.top};
  const RECT r = rect ? *rect : whole;
  if (!window->invalid) {
    window->invalidRect = r;
  } else {
    window->invalidRect = RECT{std::min(window->invalidRect.left, r.left), std::min(window->invalidRect.top, r.top),
                               std::max(window->invalidRect.right, r.right),
                               std::max(window->invalidRect.bottom, r.bottom)};
  }
  window->invalid = true;
  window->erase = window->erase || erase;
  notifyLocked();
}

void wakeAll() {
  CeBackend::current().wake();
}

}  // namespace

namespace ce {

BOOL RegisterClassW(const WNDCLASSW* windowClass) {
  if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) return FALSE;
  std::lock_guard<std::mutex> lock(state().mutex);
  for (const WindowClass& c : state().classes) {
    if (c.name == windowClass->lpszClassName) return FALSE;
  }
  state().classes.push_back(WindowClass{windowClass->lpszClassName, windowClass->lpfnWndProc});
  return TRUE;
}

HWND CreateWindowW(const char16_t* className, const char16_t* title, DWORD style, int32_t x, int32_t y,
                   int32_t width, int32_t height, HWND parent, void*, HINSTANCE, void*) {
  if (!className) return nullptr;
  auto* window = new CeWindow();
  bool first = false;
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    const auto c = std::find_if(state().classes.begin(), state().classes.end(),
                                [&](const WindowClass& wc) { return wc.name == className; });
    if (c == state().classes.end() || (parent && !live(parent))) {
      delete window;
      return nullptr;
    }
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    if (x == CW_USEDEFAULT) x = area.left;
    if (y == CW_USEDEFAULT) y = area.top;
    if (width == CW_USEDEFAULT) width = area.right - area.left;
    if (height == CW_USEDEFAULT) height = area.bottom - area.top;
    window->className = className;
    window->title = title ? title : u"";
    window->procedure = c->procedure;
    window->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    window->topLevel = parent == nullptr;
    first = window->topLevel && !mainLocked();
    state().windows.push_back(window);
  }
  if (first) {
    CeProcess::publishMainWindow(window->className);
    CeProcess::closeOnSignals();
    CeBackend::current().openScreen(window->title, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  }
  if (window->procedure(window, WM_CREATE, 0, 0) == -1) {
    DestroyWindow(window);
    return nullptr;
  }
  if (style & WS_VISIBLE) ShowWindow(window, SW_SHOW);
  if (first) SetForegroundWindow(window);
  return window;
}

BOOL DestroyWindow(HWND handle) {
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    if (!live(handle)) return FALSE;
  }
  handle->procedure(handle, WM_DESTROY, 0, 0);
  std::lock_guard<std::mutex> lock(state().mutex);
  State& s = state();
  handle->alive = false;
  handle->invalid = false;
  std::erase_if(s.messages, [handle](const MSG& m) { return m.hwnd == handle; });
  std::erase_if(s.timers, [handle](const Timer& t) { return t.window == handle; });
  if (s.active == handle) s.active = nullptr;
  notifyLocked();
  return TRUE;
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      return 0;
  }
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    if (window && !live(window)) return FALSE;
    auto& messages = state().messages;
    if (message == WM_MOUSEMOVE && !messages.empty() && messages.back().message == WM_MOUSEMOVE &&
        messages.back().hwnd == window && messages.back().wParam == wParam) {
      messages.back().lParam = lParam;
      messages.back().time = GetTickCount();
    } else {
      messages.push_back(makeMessage(window, message, wParam, lParam));
    }
    notifyLocked();
  }
  wakeAll();
  return TRUE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC procedure = nullptr;
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    if (CeWindow* w = live(window)) procedure = w->procedure;
  }
  return procedure ? procedure(window, message, wParam, lParam) : 0;
}

BOOL PeekMessageW(MSG* msg, HWND window, UINT first, UINT last, UINT remove) {
  if (!msg) return FALSE;
  CeBackend::current().pump();
  std::lock_guard<std::mutex> lock(state().mutex);
  return nextMessage(msg, window, first, last, (remove & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL GetMessageW(MSG* msg, HWND window, UINT first, UINT last) {
  if (!msg) return FALSE;
  CeBackend& backend = CeBackend::current();
  for (;;) {
    backend.pump();
    int32_t waitMillis = -1;
    {
      std::unique_lock<std::mutex> lock(state().mutex);
      if (nextMessage(msg, window, first, last, true)) break;
      const auto due = nextDue(window, first, last);
      if (!backend.waitsForInput()) {
        if (due) {
          state().changed.wait_until(lock, *due);
        } else {
          state().changed.wait(lock);
        }
        continue;
      }
      if (due) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(*due - Clock::now()).count();
        waitMillis = static_cast<int32_t>(std::clamp<int64_t>(left, 0, INT32_MAX));
      }
    }
    backend.waitForInput(waitMillis);
  }
  return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || msg->message != WM_KEYDOWN) return FALSE;
  const WPARAM vk = msg->wParam;
  WPARAM character = 0;
  if (vk >= 'A' && vk <= 'Z') character = vk - 'A' + 'a';
  if ((vk >= '0' && vk <= '9') || vk == VK_SPACE) character = vk;
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) character = '0' + (vk - VK_NUMPAD0);
  if (!character) return FALSE;
  return PostMessageW(msg->hwnd, WM_CHAR, character, msg->lParam);
}

LRESULT DispatchMessageW(const MSG* msg) {
  if (!msg || !msg->hwnd) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  return SendMessageW(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int code) { PostMessageW(nullptr, WM_QUIT, static_cast<WPARAM>(code), 0); }

BOOL ShowWindow(HWND handle, int command) {
  bool deactivate = false;
  BOOL wasVisible = FALSE;
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    CeWindow* window = find(handle);
    if (!window || !window->alive) return FALSE;
    if (window->remote) return TRUE;  // its front request does the work
    wasVisible = window->visible ? TRUE : FALSE;
    if (command == SW_HIDE) {
      window->visible = false;
      deactivate = state().active == handle;
    } else if (command == SW_MINIMIZE) {
      deactivate = state().active == handle;
    } else if (!window->visible) {
      window->visible = true;
      invalidateLocked(window, nullptr, true);
    }
    if (deactivate) activateLocked(nullptr, command == SW_MINIMIZE ? WPARAM{1} << 16 : WA_INACTIVE);
  }
  wakeAll();
  return wasVisible;
}

BOOL UpdateWindow(HWND handle) {
  bool paint = false;
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    CeWindow* window = live(handle);
    if (!window) return FALSE;
    paint = window->invalid;
  }
  if (paint) SendMessageW(handle, WM_PAINT, 0, 0);
  return TRUE;
}

BOOL InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    CeWindow* window = live(handle);
    if (!window) return FALSE;
    invalidateLocked(window, rect, erase != FALSE);
  }
  wakeAll();
  return TRUE;
}

BOOL ValidateRect(HWND handle, const RECT*) {
  std::lock_guard<std::mutex> lock(state().mutex);
  CeWindow* window = live(handle);
  if (!window) return FALSE;
  window->invalid = false;
  window->erase = false;
  return TRUE;
}

HDC BeginPaint(HWND handle, PAINTSTRUCT* paint) {
  if (!paint) return nullptr;
  bool erase = false;
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    CeWindow* window = live(handle);
    if (!window) return nullptr;
    paint->rcPaint = window->invalid ? window->invalidRect : RECT{};
    erase = window->erase;
    window->invalid = false;
    window->erase = false;
  }
  paint->hdc = GetDC(handle);
  paint->fErase = erase && SendMessageW(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) == 0;
  return paint->hdc;
}

BOOL EndPaint(HWND handle, const PAINTSTRUCT* paint) {
  if (paint && paint->hdc) ReleaseDC(handle, paint->hdc);
  return TRUE;
}

BOOL GetClientRect(HWND handle, RECT* rect) {
  std::lock_guard<std::mutex> lock(state().mutex);
  CeWindow* window = live(handle);
  if (!window || !rect) return FALSE;
  *rect = RECT{0, 0, window->rect.right - window->rect.left, window->rect.bottom - window->rect.top};
  return TRUE;
}

BOOL GetWindowRect(HWND handle, RECT* rect) {
  std::lock_guard<std::mutex> lock(state().mutex);
  CeWindow* window = live(handle);
  if (!window || !rect) return FALSE;
  *rect = window->rect;
  return TRUE;
}

BOOL MoveWindow(HWND handle, int32_t x, int32_t y, int32_t width, int32_t height, BOOL repaint) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  bool resized = false;
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    CeWindow* window = live(handle);
    if (!window) return FALSE;
    resized = window->rect.right - window->rect.left != width || window->rect.bottom - window->rect.top != height;
    window->rect = RECT{x, y, x + width, y + height};
    if (repaint) invalidateLocked(window, nullptr, true);
  }
  if (resized) SendMessageW(handle, WM_SIZE, 0, (static_cast<LPARAM>(height & 0xFFFF) << 16) | (width & 0xFFFF));
  wakeAll();
  return TRUE;
}

BOOL SetForegroundWindow(HWND handle) {
  handle = reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(handle) & ~uintptr_t{1});
  std::u16string remoteClass;
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    CeWindow* window = find(handle);
    if (!window || !window->alive) return FALSE;
    if (window->remote) {
      remoteClass = window->className;
    } else {
      activateLocked(handle, WA_INACTIVE);
    }
  }
  if (!remoteClass.empty()) return CeProcess::askToFront(remoteClass) ? TRUE : FALSE;
  wakeAll();
  return TRUE;
}

HWND GetForegroundWindow() {
  std::lock_guard<std::mutex> lock(state().mutex);
  return state().active;
}

HWND FindWindowW(const char16_t* className, const char16_t* title) {
  if (!className) return nullptr;
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    for (CeWindow* w : state().windows) {
      if (w->alive && !w->remote && w->className == className && (!title || w->title == title)) return w;
    }
  }
  if (!CeProcess::mainWindowElsewhere(className)) return nullptr;
  std::lock_guard<std::mutex> lock(state().mutex);
  for (CeWindow* w : state().windows) {
    if (w->remote && w->className == className) return w;
  }
  auto* remote = new CeWindow();
  remote->className = className;
  remote->remote = true;
  state().windows.push_back(remote);
  return remote;
}

BOOL IsWindow(HWND handle) {
  std::lock_guard<std::mutex> lock(state().mutex);
  return live(handle) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND handle) {
  std::u16string remoteClass;
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    CeWindow* window = find(handle);
    if (!window || !window->alive) return FALSE;
    if (!window->remote) return TRUE;
    remoteClass = window->className;
  }
  return CeProcess::mainWindowElsewhere(remoteClass) ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND handle) {
  std::lock_guard<std::mutex> lock(state().mutex);
  CeWindow* window = live(handle);
  return window && window->visible ? TRUE : FALSE;
}

intptr_t SetWindowLongPtrW(HWND handle, int index, intptr_t value) {
  std::lock_guard<std::mutex> lock(state().mutex);
  CeWindow* window = live(handle);
  if (!window || index != GWL_USERDATA) return 0;
  const intptr_t old = window->userData;
  window->userData = value;
  return old;
}

intptr_t GetWindowLongPtrW(HWND handle, int index) {
  std::lock_guard<std::mutex> lock(state().mutex);
  CeWindow* window = live(handle);
  return window && index == GWL_USERDATA ? window->userData : 0;
}

uintptr_t SetTimer(HWND handle, uintptr_t id, UINT milliseconds, TIMERPROC procedure) {
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    State& s = state();
    if (handle && !live(handle)) return 0;
    if (!handle) id = ++s.nextTimerId;
    // A period of 0 still lets other messages through between ticks.
    const std::chrono::milliseconds period(std::max<UINT>(milliseconds, 1));
    Timer timer{handle, id, period, Clock::now() + period, procedure};
    const auto same = std::find_if(s.timers.begin(), s.timers.end(),
                                   [&](const Timer& t) { return t.window == handle && t.id == id; });
    if (same != s.timers.end()) {
      *same = timer;
    } else {
      s.timers.push_back(timer);
    }
    notifyLocked();
  }
  wakeAll();
  return id;
}

BOOL KillTimer(HWND handle, uintptr_t id) {
  std::lock_guard<std::mutex> lock(state().mutex);
  return std::erase_if(state().timers, [&](const Timer& t) { return t.window == handle && t.id == id; }) ? TRUE
                                                                                                         : FALSE;
}

UINT ImmGetVirtualKey(HWND) { return 0; }

DWORD GetTickCount() { return static_cast<DWORD>(DeviceProfile::instance().tickMillis()); }

}  // namespace ce

HWND CeWindowManager::mainWindow() {
  std::lock_guard<std::mutex> lock(state().mutex);
  return mainLocked();
}

bool CeWindowManager::postInput(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND target = nullptr;
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    target = live(state().active) ? state().active : mainLocked();
  }
  return target && PostMessageW(target, message, wParam, lParam);
}

void CeWindowManager::backendActivated(bool active, bool minimised) {
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    if (active) {
      activateLocked(mainLocked(), WA_INACTIVE);
    } else {
      activateLocked(nullptr, minimised ? WPARAM{1} << 16 : WA_INACTIVE);
    }
  }
  wakeAll();
}

std::vector<HWND> CeWindowManager::topLevelWindows() {
  std::lock_guard<std::mutex> lock(state().mutex);
  std::vector<HWND> out;
  for (CeWindow* w : state().windows) {
    if (w->alive && !w->remote && w->topLevel) out.push_back(w);
  }
  return out;
}

bool CeWindowManager::screenRect(HWND handle, RECT* rect) {
  std::lock_guard<std::mutex> lock(state().mutex);
  CeWindow* window = live(handle);
  if (!window || !rect) return false;
  *rect = window->rect;
  return true;
}

void CeWindowManager::displayChanged(const RECT& oldScreen, const RECT& newScreen, const RECT& oldWork,
                                     const RECT& newWork) {
  const auto same = [](const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  };
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    for (CeWindow* w : state().windows) {
      if (!w->alive || w->remote || !w->topLevel) continue;
      const RECT* target = same(w->rect, oldScreen) ? &newScreen : same(w->rect, oldWork) ? &newWork : nullptr;
      if (target && !same(w->rect, *target)) {
        w->rect = *target;
        const LPARAM size = (static_cast<LPARAM>((target->bottom - target->top) & 0xFFFF) << 16) |
                            ((target->right - target->left) & 0xFFFF);
        state().messages.push_back(makeMessage(w, WM_SIZE, 0, size));
        invalidateLocked(w, nullptr, true);
      }
      state().messages.push_back(makeMessage(w, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0));
    }
    notifyLocked();
  }
  wakeAll();
}

void CeWindowManager::wake() {
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    notifyLocked();
  }
  wakeAll();
}

void CeWindowManager::reset() {
  std::lock_guard<std::mutex> lock(state().mutex);
  State& s = state();
  s.messages.clear();
  s.timers.clear();
  s.classes.clear();
  for (CeWindow* w : s.windows) w->alive = false;
  s.active = nullptr;
  notifyLocked();
}
