#include "HALPower.h"

#include <atomic>
#include <thread>

#include "HALHostWindows.h"
#include "HALDeviceFacts.h"
#include "HALWindow.h"

using namespace hostwin;

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
    if (waitForPowerChange(kStopCheck, &on)) HAL_postToMainWindow(HAL_MSG_POWER, on ? 1 : 0, 0);
  }
}

uint32_t readPowerTimeouts() {
  static const char* const kNames[] = {"BattPowerOff", "ExtPowerOff", "ScreenPowerOff", "BattSuspendTimeout",
                                       "ACSuspendTimeout"};
  const auto& values = HALDeviceFacts::instance().powerTimeouts;
  uint32_t seconds[5] = {};
  for (int i = 0; i < 5; ++i) {
    const auto found = values.find(kNames[i]);
    if (found != values.end()) seconds[i] = found->second;
  }
  return HAL_keepAwakePeriod(seconds, 5);
}

}  // namespace

int HAL_startPowerThread() {
  if (powerThread.joinable()) return 1;
  powerRunning.store(true);
  cancelPowerWaits(false);
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
  cancelPowerWaits(true);
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
