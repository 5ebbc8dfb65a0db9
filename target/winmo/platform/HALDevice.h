#pragma once

#include <cstdint>
#include <string>

#include "HALStatus.h"

// What the platform layer knows about the phone it runs on: its system
// information (the values of the device system properties), its unique id,
// its model among a few known phones, and the input quirks of those models.
// Each text is read once and kept; every read after the first gives the
// same text. Main thread (or under the global VM lock).

// System information; empty text when the system cannot give it.
const std::u16string& HAL_getManufacturer();
const std::u16string& HAL_getModel();        // the OEM information text
const std::u16string& HAL_getDeviceName();
const std::u16string& HAL_getOSName();       // "WinCE (WM <platform type>)"
const std::u16string& HAL_getOSVersion();    // "<major>.<minor>"

// The device id as lowercase hexadecimal digits (two per byte, high nibble
// first), at most *inOutLength of them; *inOutLength receives the number
// written. HAL_ILLEGAL_ARGUMENT_ERR for a null argument or a negative
// length, HAL_NOT_IMPLEMENTED_ERR when the device has no id.
HALStatus HAL_getDeviceUniqueId(char16_t* buffer, int32_t* inOutLength);

// The device model: 1 other, 2 the device emulator, 3..7 known phones,
// chosen by the OEM information text.
constexpr int HAL_MODEL_OTHER = 1;
constexpr int HAL_MODEL_EMULATOR = 2;
int HAL_getDeviceModelId();

// Device quirks, by index. A quirk's state comes from the system property
// named after it ("false" or a decimal number: non-zero is on), else from
// its default for the device model; it is found once and kept.
constexpr int HAL_QUIRK_IGNORE_SOME_POINTER_EVENTS = 0;
bool HAL_isQuirkOn(int index);
// The quirk's value `subName`: the system property "<quirk name>_<subName>"
// when present, else the quirk's default for the model. Copies at most
// `length` characters to `buffer` and terminates them when there is room;
// 1 when a value exists, else 0 (also for a bad argument).
int HAL_getQuirkValue(int index, void* context, const char* subName, char16_t* buffer, int32_t length);
// The "WHERE" value read as decimal numbers separated by commas, at most
// *inOutCount of them; *inOutCount receives the number read (0 when there
// is no value).
void HAL_getQuirkNumbers(int index, void* context, int32_t* numbers, int32_t* inOutCount);

// The screen's size in pixels as the system reports it (the whole display,
// not the window).
void HAL_getScreenMetrics(int32_t* width, int32_t* height);
// Bits per pixel of the screen.
int32_t HAL_getScreenBitsPerPixel();
