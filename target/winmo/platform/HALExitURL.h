#pragma once

#include <cstdint>

#include "HALStatus.h"

class HALString;

// The URL handed to MIDlet.platformRequest. It is kept until the program
// has shut its window and destroyed the VM, and then opened in the system's
// browser (HAL_launchExitURL, at shutdown).

// Keeps a copy of `url` (null or empty: nothing is kept); a later call
// replaces the kept one.
void HAL_setExitURL(const HALString* url);
// The kept URL (null when none); the caller does not own it.
const HALString* HAL_getExitURL();
// Opens the kept URL in the browser when there is one and it is not empty,
// then drops it. A URL that cannot be opened is dropped without notice.
void HAL_launchExitURL();

// platformRequest's platform call: keeps the `length` characters of `url`
// for the launch at exit and sets *mustExit (when given) to 1. HAL_OK, or
// HAL_ILLEGAL_ARGUMENT_ERR for a null `url` with a positive or a negative
// `length`, HAL_OUT_OF_MEMORY_ERR when the copy cannot be made.
HALStatus HAL_openURL(const char16_t* url, int32_t length, uint8_t* mustExit);

// Test seam: the function that hands a URL (UTF-8) to the browser; true
// when it was handed over. Null restores the default, the system's browser
// start (ShellExecuteExW with "iexplore.exe" and the URL).
using HALBrowserLauncher = bool (*)(const char* url);
void HAL_setBrowserLauncher(HALBrowserLauncher launcher);
