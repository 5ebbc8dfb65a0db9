#pragma once

#include <cstdint>

// The optional vendor libraries: an optical mouse whose wheel sends the up
// and down keys ("SamsungMobilesdk_1.dll") and a motion sensor
// ("HTCSensorSDK.dll"). Each is loaded by name; a missing library or
// function leaves its feature off without error.

// Start-up: loads both; switches the optical mouse on when present.
void HAL_loadVendorLibraries();
// Shutdown: closes the sensor.
void HAL_closeVendorLibraries();
bool HAL_isOpticalMousePresent();
// Switches the optical mouse's mode on again (window re-activation).
void HAL_switchOpticalMouseOn();
// The key manager's wheel test: null when there is no optical mouse.
bool (*HAL_getWheelKeyTest())(uint32_t vk, uint32_t scanCode);
