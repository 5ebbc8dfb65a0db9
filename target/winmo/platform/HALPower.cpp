#include "HALPower.h"

#include <atomic>
#include <cstddef>
#include <thread>

#include "CeWindows.h"
#include "CePower.h"
#include "HALWindow.h"

using namespace ce;

namespace {

constexpr uintptr_t kKeepAwakeTimer = 1;
constexpr uint32_t kMaxPeriod = 5000;

std::atomic<bool> powerRunning{false};
std::thread powerThread;
HANDLE powerQueue = nullptr;
HANDLE powerNotifications = nullptr;
uint32_t keepAwakePeriod = 0;

// Reads the queue's power records without a time-out and posts each
// change to the main window (wParam 1: power on). Closing the queue at
// shutdown ends the wait.
void watchPower(HANDLE queue) {
  alignas(POWER_BROADCAST) uint8_t buffer[44];
  while (powerRunning.load()) {
    DWORD read = 0, flags = 0;
    if (!ReadMsgQueue(queue, buffer, sizeof buffer, &read, INFINITE, &flags)) {
      if (GetLastError() == ERROR_INSUFFICIENT_BUFFER) continue;
      return;
    }
    if (read < offsetof(POWER_BROADCAST, SystemPowerState)) continue;
    const auto* record = reinterpret_cast<const POWER_BROADCAST*>(buffer);
    HAL_postToMainWindow(HAL_MSG_POWER, (record->Flags >> 16) & 1, 0);
  }
}

// A DWORD value of the registry in seconds; 0 when missing.
uint32_t readSeconds(const char16_t* path, const char16_t* name) {
  HKEY key = 0;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key) != ERROR_SUCCESS) return 0;
  DWORD value = 0;
  DWORD type = 0;
  DWORD size = sizeof value;
  const long result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value ? value : 0;
}

uint32_t readPowerTimeouts() {
  static const char16_t* const kPower = u"SYSTEM\\CurrentControlSet\\Control\\Power";
  static const char16_t* const kTimeouts = u"SYSTEM\\CurrentControlSet\\Control\\Power\\Timeouts";
  const uint32_t seconds[5] = {readSeconds(kPower, u"BattPowerOff"), readSeconds(kPower, u"ExtPowerOff"),
                               readSeconds(kPower, u"ScreenPowerOff"), readSeconds(kTimeouts, u"BattSuspendTimeout"),
                               readSeconds(kTimeouts, u"ACSuspendTimeout")};
  return HAL_keepAwakePeriod(seconds, 5);
}

}  // namespace

int HAL_startPowerThread() {
  if (powerThread.joinable()) return 1;
  // The queue (20 records of 44 bytes) and the request are made here, so
  // that no change made after start-up can come before the thread listens.
  // Without them the thread has nothing to wait for and is not started.
  const MSGQUEUEOPTIONS options{sizeof(MSGQUEUEOPTIONS), 0, 20, 44, TRUE};
  powerQueue = CreateMsgQueue(nullptr, &options);
  powerNotifications = powerQueue ? RequestPowerNotifications(powerQueue, PBT_TRANSITION) : nullptr;
  if (!powerNotifications) return 1;
  powerRunning.store(true);
  try {
    powerThread = std::thread(watchPower, powerQueue);
  } catch (const std::system_error&) {
    powerRunning.store(false);
    return 0;
  }
  return 1;
}

void HAL_stopPowerThread() {
  powerRunning.store(false);
  if (powerNotifications) StopPowerNotifications(powerNotifications);
  if (powerQueue) CloseMsgQueue(powerQueue);
  if (powerThread.joinable()) powerThread.join();
  powerQueue = powerNotifications = nullptr;
}

int HAL_setKeepAwake(int enable) {
  HWND window = HAL_getMainWindow();
  KillTimer(window, kKeepAwakeTimer);
  if (!enable) return 1;
  if (keepAwakePeriod == 0) keepAwakePeriod = readPowerTimeouts();
  SystemIdleTimerReset();
  SetTimer(window, kKeepAwakeTimer, keepAwakePeriod, nullptr);
  return 1;
}

void HAL_keepAwakeTick() { SystemIdleTimerReset(); }

uint32_t HAL_keepAwakePeriod(const uint32_t* seconds, int count) {
  uint32_t smallest = 0;
  for (int i = 0; i < count; ++i) {
    if (seconds[i] != 0 && (smallest == 0 || seconds[i] < smallest)) smallest = seconds[i];
  }
  const uint64_t period = uint64_t{smallest} * 9000 / 10;
  return period == 0 || period > kMaxPeriod ? kMaxPeriod : static_cast<uint32_t>(period);
}
