#include "HALShell.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "HALCallbacks.h"
#include "HALEvents.h"
#include "HALExitURL.h"
#include "HALFont.h"
#include "HALGlobalLock.h"
#include "HALLockScope.h"
#include "HALMemory.h"
#include "HALOrientation.h"
#include "HALPower.h"
#include "HALProperties.h"
#include "HALShellHooks.h"
#include "HALThread.h"
#include "HALVendor.h"
#include "HALWindow.h"
#include "VMServices.h"

using namespace ce;

namespace {

std::atomic<std::thread::id> mainThreadId{};
std::atomic<bool> windowActive{true};
std::atomic<bool> powerOn{true};
std::atomic<bool> running{true};
// Set by HAL_requestFailedExit: the run ends with exit code 1.
std::atomic<bool> runFailed{false};
// Set while the VM exists: from a successful start to the exit sequence.
bool vmExists = false;
bool exitSequenceRun = false;

constexpr UINT kQuit = WM_QUIT;
constexpr UINT kProcessKey = 229;


// Translates a key message, dispatching the characters it makes at once so
// that they reach the key manager before the key itself. An input method's
// placeholder key is replaced by the real key for the translation.
void preTranslateKey(MSG* msg) {
  HWND window = HAL_getMainWindow();
  const WPARAM original = msg->wParam;
  const bool replaced = original == kProcessKey;
  if (replaced) msg->wParam = ImmGetVirtualKey(window);
  TranslateMessage(msg);
  MSG character;
  while (PeekMessageW(&character, window, WM_CHAR, WM_CHAR, PM_REMOVE)) DispatchMessageW(&character);
  if (replaced) {
    const WPARAM real = msg->wParam;
    msg->wParam = kProcessKey;
    TranslateMessage(msg);
    msg->wParam = real;
  }
}

// One pass of the active branch, under the lock: dispatch the message the
// wait took (when there is one), drain the queue, then present a pending
// screen. True when the quit message came.
bool activePass(MSG* waited, int& result) {
  HALLockScope lock;
  bool done = false;
  MSG msg;
  const auto dispatch = [&](MSG* m) {
    if (HAL_dispatchMessage(m) == 0) {
      result = static_cast<int>(m->wParam);
      done = true;
    }
  };
  if (waited != nullptr) dispatch(waited);
  while (PeekMessageW(&msg, HAL_getMainWindow(), 0, 0, PM_REMOVE)) dispatch(&msg);
  if (running.load() && !done) HAL_presentPendingScreen();
  return done;
}

}  // namespace

int HAL_runApplication(void* instance, int showCommand) {
  if (!HAL_initialize(instance, showCommand)) return 1;
  const int result = HAL_runMessageLoop();
  HAL_shutdown();
  return runFailed.load() ? 1 : result;
}

int HAL_initialize(void* instance, int showCommand) {
  mainThreadId.store(std::this_thread::get_id());
  HAL_createMemoryReserve();
  HAL_loadProperties();
  if (!HAL_createMainWindow(instance, showCommand)) return 0;
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (!HAL_attachMainThread() || !HAL_startPowerThread()) return 0;
  HAL_initRecordStores();
  HAL_initOrientation();
  HAL_initFontCache();
  HAL_loadVendorLibraries();
  HAL_startApplicationManager();
  return 1;
}

void HAL_startApplicationManager() {
  HAL_enterGlobalLock();
  MEMORYSTATUS memory{};
  memory.dwLength = sizeof memory;
  GlobalMemoryStatus(&memory);
  uint64_t first = 0;
  uint64_t second = 0;
  HAL_getHeapSizes(std::min<uint64_t>(memory.dwAvailPhys, memory.dwAvailVirtual), &first, &second);
  vmExists = true;
  const int status = HAL_getVMCallbacks()->initialize(first, second, HAL_getCurrentThread(), HAL_BOOT_CLASS, 0);
  if (status == 1) {
    _VM_fatalError("init() failed with CALLBACK_INITIALIZATION_FAILED error (probably a bad boot class name).");
  }
  if (status == 2) _VM_fatalError("init() failed with CALLBACK_UNCAUGHT_EXCEPTION.");
  if (status != 0) _VM_fatalError("init() failed with an unknown error!");
  HAL_getVMCallbacks()->collectGarbage();
  HAL_leaveGlobalLock();
}

int HAL_runMessageLoop() {
  int result = 1;
  bool done = false;
  // A message the active branch's wait took, for the next pass. Only the
  // main thread's own dispatching changes `running`, so the next pass is an
  // active one.
  MSG waited;
  bool hasWaited = false;
  while (!done) {
    if (running.load()) {
      done = activePass(hasWaited ? &waited : nullptr, result);
      hasWaited = false;
      // Nothing left to do: wait, without the lock, for the next message.
      // Everything that gives the pass work posts one (a flush from another
      // thread, a serial call, input, power) or is a message itself (timer,
      // paint); the quit message is taken too and ends the loop in the pass.
      if (!done && running.load()) {
        GetMessageW(&waited, HAL_getMainWindow(), 0, 0);
        hasWaited = true;
      }
      continue;
    }
    MSG msg;
    if (!GetMessageW(&msg, HAL_getMainWindow(), 0, 0)) break;
    HALLockScope lock;
    if (HAL_dispatchMessage(&msg) == 0) {
      result = static_cast<int>(msg.wParam);
      done = true;
    }
  }
  return result;
}

int HAL_dispatchMessage(ce::tagMSG* msg) {
  if (msg->message == kQuit) return 0;
  if (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) preTranslateKey(msg);
  DispatchMessageW(msg);
  return 1;
}

void HAL_exitApplication() {
  if (exitSequenceRun) return;
  exitSequenceRun = true;
  HAL_setExitStarted(true);
  HALLockScope lock;
  const VMCallbacks* vm = HAL_getVMCallbacks();
  vm->broadcastEvent(HAL_EVENT_EXIT, 0, nullptr);
  vm->destroy();
  vmExists = false;
}

void HAL_collectGarbage() {
  if (vmExists) HAL_getVMCallbacks()->collectGarbage();
}

void HAL_shutdown() {
  HAL_launchExitURL();
  HAL_setKeepAwake(0);
  HAL_closeInternetSession();
  HAL_closeRegistryNotifications();
  HAL_closeVendorLibraries();
  HAL_freeFontCache();
  HAL_stopPowerThread();
  HAL_deleteThread(HAL_getCurrentThread());
  CoUninitialize();
  HAL_closeInstanceLock();
  HAL_freeProperties();
  HAL_releaseMemoryReserve();
}

void HAL_setWindowActive(bool active) {
  if (windowActive.exchange(active) == active) return;
  if (active) HAL_switchOpticalMouseOn();
  HAL_updateActiveState();
}

void HAL_setPowerOn(bool on) {
  if (powerOn.exchange(on) == on) return;
  HAL_updateActiveState();
}

void HAL_updateActiveState() {
  const bool active = windowActive.load() && powerOn.load();
  if (active == running.load()) return;
  running.store(active);
  if (!active) HAL_pauseAllPlayers();
  HAL_sendEvent(active ? HAL_EVENT_RESUME : HAL_EVENT_PAUSE, 0, nullptr, true);
}

bool HAL_isRunning() { return running.load(); }

void HAL_requestFailedExit() {
  runFailed.store(true);
  HAL_requestExit();
}

void HAL_getHeapSizes(uint64_t available, uint64_t* first, uint64_t* second) {
  const uint64_t tenth = available / 10;
  if (first) *first = tenth;
  if (second) *second = available - tenth;
}

bool HAL_isMainThread() { return std::this_thread::get_id() == mainThreadId.load(); }
