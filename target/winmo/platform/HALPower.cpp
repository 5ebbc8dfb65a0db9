#include "HALPower.h"

#include <atomic>
#include <thread>

#include "CeWindows.h"
#include "CePower.h"
#include "HALWindow.h"

using namespace ce;

namespace {

constexpr uintptr_t kKeepAwakeTimer = 1;
constexpr uint32_t kMaxPeriod = 5000;
// How often the waiting thread looks at its running flag.
constexpr uint32_t kStopCheck = 100;

std::atomic<bool> powerRunning{false};
std::thread powerThread;
uint32_t keepAwakePeriod = 0;

void watchPower() {
  while (powerRunning.load()) {
    bool on = true;
    if (CePower::waitForChange(kStopCheck, &on)) HAL_postToMainWindow(HAL_MSG_POWER, on ? 1 : 0, 0);
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
  powerRunning.store(true);
  CePower::cancelWaits(false);
  try {
    powerThread = std::thread(watchPower);
  } catch (const std::system_error&) {
    powerRunning.store(false);
    return 0;
  }
  return 1;
}

void HAL_stopPowerThread() {
  powerRunning.store(false);
  CePower::cancelWaits(true);
  if (powerThread.joinable()) powerThread.join();
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
