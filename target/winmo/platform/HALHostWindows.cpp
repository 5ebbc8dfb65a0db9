#include "HALHostWindows.h"

#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <thread>
#include <chrono>
#include <string>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

#include "HALDevice.h"
#include "HALHostSDL.h"

namespace hostwin {
namespace {

struct Window {
  std::u16string className;
  WNDPROC procedure = nullptr;
  intptr_t userData = 0;
  RECT client{};
  bool alive = true;
};

struct Queue {
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<MSG> messages;
};

// Windows are never freed: a handle stays a valid key after destruction.
std::vector<Window*> windows;
std::vector<WNDCLASSW> classes;
Queue queue;
DWORD lastError = 0;
DWORD orientation = 0;
bool displayRefuses = false;
uint64_t availableMemory = 64ull << 20;

std::mutex powerMutex;
std::condition_variable powerChanged;
std::deque<bool> powerChanges;
bool powerWaitsCancelled = false;

Window* windowOf(HWND handle) { return reinterpret_cast<Window*>(handle); }
HWND handleOf(Window* window) { return reinterpret_cast<HWND>(window); }

// The first live window, or null.
HWND firstWindow() {
  std::lock_guard<std::mutex> lock(queue.mutex);
  for (Window* w : windows) {
    if (w->alive) return handleOf(w);
  }
  return nullptr;
}


bool matches(const MSG& msg, HWND window, UINT first, UINT last) {
  if (window && msg.hwnd != window && msg.message != WM_QUIT) return false;
  return (first == 0 && last == 0) || (msg.message >= first && msg.message <= last);
}

// Takes the first message that passes the filters; false when none waits.
bool take(MSG* msg, HWND window, UINT first, UINT last) {
  for (auto it = queue.messages.begin(); it != queue.messages.end(); ++it) {
    if (matches(*it, window, first, last)) {
      *msg = *it;
      queue.messages.erase(it);
      return true;
    }
  }
  return false;
}

// SIGTERM and SIGINT become a close message to the first live window. A
// handler may not take locks, so it only writes a byte to a pipe whose
// reader thread posts the message.
int signalPipe[2] = {-1, -1};

void onSignal(int) {
  const char byte = 1;
  if (write(signalPipe[1], &byte, 1) < 0) return;
}

void closeOnSignals() {
  char byte;
  while (read(signalPipe[0], &byte, 1) > 0) {
    if (HWND target = firstWindow()) PostMessageW(target, WM_CLOSE, 0, 0);
  }
}

void installSignalHandlers() {
  if (signalPipe[0] >= 0 || pipe2(signalPipe, O_CLOEXEC) != 0) return;
  std::thread(closeOnSignals).detach();
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

// The abstract socket address of a single-instance lock.
socklen_t lockAddress(const std::u16string& name, sockaddr_un& address) {
  std::string text = "jme-" + std::to_string(getuid()) + "-";
  for (char16_t unit : name) {
    const auto c = static_cast<uint32_t>(unit);
    text += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c)) : "%" + std::to_string(c);
  }
  address = sockaddr_un{};
  address.sun_family = AF_UNIX;
  if (text.size() > sizeof address.sun_path - 1) {
    // Long names: a hash of the whole text keeps the address short.
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
    text = text.substr(0, 80) + "#" + std::to_string(h);
  }
  std::memcpy(address.sun_path + 1, text.data(), text.size());
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + text.size());
}

// The holder of a lock: every connection from a second instance brings the
// holder's window to the front (an activation message).
void bringToFrontOnRequest(int listener) {
  for (;;) {
    const int connection = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) {
      if (errno == EINTR) continue;
      return;  // the lock was closed
    }
    close(connection);
    if (HWND window = firstWindow()) PostMessageW(window, WM_ACTIVATE, 1, 0);
  }
}

// The window of another process that holds the lock of the same name: a
// handle that only SetForegroundWindow, IsWindowEnabled and ShowWindow
// know.
struct RemoteWindow {
  std::u16string lockName;
};
RemoteWindow remote;

bool isRemote(HWND handle) {
  return reinterpret_cast<uintptr_t>(handle) >> 1 == reinterpret_cast<uintptr_t>(&remote) >> 1;
}

}  // namespace

BOOL RegisterClassW(const WNDCLASSW* windowClass) {
  if (!windowClass || !windowClass->lpszClassName) return FALSE;
  classes.push_back(*windowClass);
  return TRUE;
}

HWND CreateWindowW(const char16_t* className, const char16_t* title, DWORD, int32_t, int32_t, int32_t, int32_t, HWND,
                   void*, HINSTANCE, void*) {
  for (const WNDCLASSW& c : classes) {
    if (className && std::u16string(c.lpszClassName) == className) {
      auto* window = new Window();
      window->className = className;
      window->procedure = c.lpfnWndProc;
      int32_t width = 0, height = 0;
      HAL_getScreenMetrics(&width, &height);
      window->client = RECT{0, 0, width, height};
      {
        std::lock_guard<std::mutex> lock(queue.mutex);
        windows.push_back(window);
      }
      installSignalHandlers();
      hostsdl::openWindow(title, width, height);
      window->procedure(handleOf(window), WM_CREATE, 0, 0);
      return handleOf(window);
    }
  }
  return nullptr;
}

BOOL DestroyWindow(HWND handle) {
  Window* window = windowOf(handle);
  if (!window || !window->alive) return FALSE;
  window->procedure(handle, WM_DESTROY, 0, 0);
  std::lock_guard<std::mutex> lock(queue.mutex);
  window->alive = false;
  // Messages for a destroyed window are dropped.
  std::erase_if(queue.messages, [handle](const MSG& m) { return m.hwnd == handle && m.message != WM_QUIT; });
  return TRUE;
}

LRESULT DefWindowProcW(HWND, UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) return 0;
  return 0;
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::lock_guard<std::mutex> lock(queue.mutex);
  if (window && !windowOf(window)->alive) return FALSE;
  queue.messages.push_back(MSG{window, message, wParam, lParam, 0, {}});
  queue.changed.notify_all();
  return TRUE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* target = windowOf(window);
  return target && target->alive ? target->procedure(window, message, wParam, lParam) : 0;
}

namespace {

// Posts the SDL window's input to the first live window (main thread).
void postToMainWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (HWND target = firstWindow()) PostMessageW(target, message, wParam, lParam);
}

}  // namespace

BOOL PeekMessageW(MSG* msg, HWND window, UINT first, UINT last, UINT remove) {
  hostsdl::pump(postToMainWindow);
  std::lock_guard<std::mutex> lock(queue.mutex);
  if (remove & PM_REMOVE) return take(msg, window, first, last);
  for (const MSG& m : queue.messages) {
    if (matches(m, window, first, last)) {
      *msg = m;
      return TRUE;
    }
  }
  return FALSE;
}

BOOL GetMessageW(MSG* msg, HWND window, UINT first, UINT last) {
  for (;;) {
    hostsdl::pump(postToMainWindow);
    std::unique_lock<std::mutex> lock(queue.mutex);
    // With an SDL window its events are looked for every 10 ms.
    if (!hostsdl::active()) {
      queue.changed.wait(lock, [&] { return take(msg, window, first, last); });
      break;
    }
    if (queue.changed.wait_for(lock, std::chrono::milliseconds(10), [&] { return take(msg, window, first, last); })) {
      break;
    }
  }
  return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || msg->message != WM_KEYDOWN) return FALSE;
  const WPARAM vk = msg->wParam;
  // Printable keys only: letters (lower case), digits and the blank.
  WPARAM character = 0;
  if (vk >= 'A' && vk <= 'Z') character = vk - 'A' + 'a';
  if ((vk >= '0' && vk <= '9') || vk == ' ') character = vk;
  if (!character) return FALSE;
  return PostMessageW(msg->hwnd, WM_CHAR, character, msg->lParam);
}

LRESULT DispatchMessageW(const MSG* msg) {
  if (!msg || !msg->hwnd) return 0;
  Window* window = windowOf(msg->hwnd);
  if (!window->alive) return 0;
  return window->procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int code) { PostMessageW(nullptr, WM_QUIT, static_cast<WPARAM>(code), 0); }

BOOL ShowWindow(HWND, int) { return TRUE; }  // also for another process's window
BOOL UpdateWindow(HWND) { return TRUE; }
BOOL InvalidateRect(HWND, const RECT*, BOOL) { return TRUE; }
void* BeginPaint(HWND, PAINTSTRUCT* paint) { return paint ? paint->hdc = nullptr : nullptr; }
BOOL EndPaint(HWND, const PAINTSTRUCT*) { return TRUE; }

BOOL GetClientRect(HWND handle, RECT* rect) {
  if (!handle || !rect) return FALSE;
  *rect = windowOf(handle)->client;
  return TRUE;
}

BOOL MoveWindow(HWND handle, int32_t, int32_t, int32_t width, int32_t height, BOOL) {
  if (!handle) return FALSE;
  Window* window = windowOf(handle);
  const RECT client{0, 0, width, height};
  const bool changed = client.right != window->client.right || client.bottom != window->client.bottom;
  window->client = client;
  if (changed) SendMessageW(handle, WM_SIZE, 0, (static_cast<LPARAM>(height) << 16) | width);
  return TRUE;
}

BOOL SetForegroundWindow(HWND handle) {
  if (!isRemote(handle)) return TRUE;
  sockaddr_un address;
  const socklen_t length = lockAddress(remote.lockName, address);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return FALSE;
  const bool sent = connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
  close(fd);
  return sent;
}

HWND FindWindowW(const char16_t* className, const char16_t*) {
  if (!className) return nullptr;
  {
    std::lock_guard<std::mutex> lock(queue.mutex);
    for (Window* w : windows) {
      if (w->alive && w->className == className) return handleOf(w);
    }
  }
  // Another process's window: the one holding the lock named after it.
  sockaddr_un address;
  const socklen_t length = lockAddress(u"Local\\" + std::u16string(className), address);
  const int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (probe < 0) return nullptr;
  // Binding fails exactly while the other process holds the name.
  const bool held = bind(probe, reinterpret_cast<const sockaddr*>(&address), length) != 0;
  close(probe);
  if (!held) return nullptr;
  remote.lockName = u"Local\\" + std::u16string(className);
  return reinterpret_cast<HWND>(&remote);
}

BOOL IsWindowEnabled(HWND handle) { return handle && (isRemote(handle) || windowOf(handle)->alive); }
BOOL IsWindowVisible(HWND handle) { return handle && windowOf(handle)->alive; }

intptr_t SetWindowLongPtrW(HWND handle, int index, intptr_t value) {
  if (!handle || index != GWL_USERDATA) return 0;
  const intptr_t old = windowOf(handle)->userData;
  windowOf(handle)->userData = value;
  return old;
}

intptr_t GetWindowLongPtrW(HWND handle, int index) {
  return handle && index == GWL_USERDATA ? windowOf(handle)->userData : 0;
}

uintptr_t SetTimer(HWND, uintptr_t id, UINT, void*) { return id; }
BOOL KillTimer(HWND, uintptr_t) { return TRUE; }
UINT ImmGetVirtualKey(HWND) { return 0; }

int32_t GetSystemMetrics(int index) {
  int32_t width = 0, height = 0;
  HAL_getScreenMetrics(&width, &height);
  return index == SM_CXSCREEN ? width : index == SM_CYSCREEN ? height : 0;
}

BOOL SystemParametersInfoW(UINT action, UINT, void* value, UINT) {
  if (action != SPI_GETWORKAREA || !value) return FALSE;
  *static_cast<RECT*>(value) = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return TRUE;
}

long ChangeDisplaySettingsExW(const char16_t*, DEVMODEW* mode, HWND, DWORD flags, void*) {
  if (!mode) return DISP_CHANGE_BADMODE;
  std::lock_guard<std::mutex> lock(queue.mutex);
  if (flags & CDS_TEST) {
    mode->dmDisplayOrientation = orientation;
    return DISP_CHANGE_SUCCESSFUL;
  }
  const DWORD value = mode->dmDisplayOrientation;
  if (displayRefuses || (value != 0 && value != 1 && value != 2 && value != 4)) return DISP_CHANGE_BADMODE;
  orientation = value;
  return DISP_CHANGE_SUCCESSFUL;
}

BOOL SHFullScreen(HWND, DWORD) { return TRUE; }
BOOL SHHandleWMActivate(HWND, WPARAM, LPARAM, void*, DWORD) { return TRUE; }
long RegistryNotifyWindow(HKEY, const char16_t*, const char16_t*, HWND, UINT, DWORD, void*, HREGNOTIFY* out) {
  if (out) *out = nullptr;
  return 0;
}
long RegistryCloseNotification(HREGNOTIFY) { return 0; }

HANDLE CreateMutexW(void*, BOOL, const char16_t* name) {
  lastError = 0;
  // A socket bound to an abstract address named after the user and the
  // lock: a second bind fails while the first holder lives, and the kernel
  // frees the name however the holder ends. No file is left behind. The
  // holder listens on it for requests to come to the front.
  sockaddr_un address;
  const socklen_t length = lockAddress(name ? name : u"", address);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return nullptr;
  if (bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
    lastError = 183;
  } else if (listen(fd, 4) == 0) {
    std::thread(bringToFrontOnRequest, fd).detach();
  }
  return reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd) + 1);
}

DWORD GetLastError() { return lastError; }

BOOL CloseHandle(HANDLE handle) {
  if (!handle) return FALSE;
  const int fd = static_cast<int>(reinterpret_cast<intptr_t>(handle) - 1);
  shutdown(fd, SHUT_RDWR);  // ends a waiting accept
  close(fd);
  return TRUE;
}

long CoInitializeEx(void*, DWORD) { return 0; }
void CoUninitialize() {}

void GlobalMemoryStatus(MEMORYSTATUS* status) {
  if (!status) return;
  std::lock_guard<std::mutex> lock(queue.mutex);
  status->dwAvailPhys = availableMemory;
  status->dwAvailVirtual = availableMemory;
}

void SystemIdleTimerReset() {}
HMODULE LoadLibraryW(const char16_t*) { return nullptr; }
void* GetProcAddressW(HMODULE, const char16_t*) { return nullptr; }

bool waitForPowerChange(uint32_t milliseconds, bool* on) {
  std::unique_lock<std::mutex> lock(powerMutex);
  const auto ready = [] { return !powerChanges.empty() || powerWaitsCancelled; };
  if (!powerChanged.wait_for(lock, std::chrono::milliseconds(milliseconds), ready) || powerChanges.empty()) {
    return false;
  }
  *on = powerChanges.front();
  powerChanges.pop_front();
  return true;
}

void injectPowerChange(bool on) {
  std::lock_guard<std::mutex> lock(powerMutex);
  powerChanges.push_back(on);
  powerChanged.notify_all();
}

void cancelPowerWaits(bool cancel) {
  std::lock_guard<std::mutex> lock(powerMutex);
  powerWaitsCancelled = cancel;
  powerChanged.notify_all();
}

void setDisplayOrientation(DWORD value) {
  std::lock_guard<std::mutex> lock(queue.mutex);
  orientation = value;
}

void setDisplayRefuses(bool refuses) {
  std::lock_guard<std::mutex> lock(queue.mutex);
  displayRefuses = refuses;
}

void setAvailableMemory(uint64_t bytes) {
  std::lock_guard<std::mutex> lock(queue.mutex);
  availableMemory = bytes;
}

void reset() {
  std::lock_guard<std::mutex> lock(queue.mutex);
  queue.messages.clear();
  for (Window* w : windows) w->alive = false;
}

}  // namespace hostwin
