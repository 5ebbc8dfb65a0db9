#pragma once

#include <cstdint>

// Power: a native thread that turns the system's power notifications into
// private message 1027 to the main window (wParam 1: power on), and
// keeping the device awake while the engine asks for it.

// Makes the power-notification queue and starts the thread that reads it;
// 1, or 0 when the thread cannot be made (without a queue there is no
// thread, and 1).
int HAL_startPowerThread();
// Tells the thread to stop, closes its queue and waits until it has ended.
void HAL_stopPowerThread();

// Keeps the device from suspending while `enable` is set: resets the idle
// timer now and on every tick of window timer 1. Returns 1.
int HAL_setKeepAwake(int enable);
// A tick of timer 1: resets the idle timer.
void HAL_keepAwakeTick();
// The timer's period in ms for the power time-outs `seconds` (0: unset):
// 90 % of the smallest set one, 5000 when none is set, never above 5000.
uint32_t HAL_keepAwakePeriod(const uint32_t* seconds, int count);
