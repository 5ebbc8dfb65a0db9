#pragma once

#include <cstdint>

#include "CeWindows.h"
#include "HALStatus.h"

class HALWindowObject;

// The program's one window and its procedures. The class procedure hands
// each message of the main window to the current window object (kept in
// the window's user data) and, while there is none, to the main window
// procedure, so closing and exiting work before any canvas exists.
//
// Private messages of the main window.
constexpr uint32_t HAL_MSG_COLLECT = 1023;        // collect garbage
constexpr uint32_t HAL_MSG_EXIT = 1025;           // the exit sequence
constexpr uint32_t HAL_MSG_PHONE_STATUS = 1026;   // registry notification: ignored
constexpr uint32_t HAL_MSG_POWER = 1027;          // wParam 1: power on
constexpr uint32_t HAL_MSG_ORIENTATION = 1028;    // set the display orientation to wParam
constexpr uint32_t HAL_MSG_UNREAD_SMS = 1029;     // registry notification: ignored
// A screen buffer was flushed on another thread: the message only wakes the
// loop, whose pass presents the pending screen after the drain.
constexpr uint32_t HAL_MSG_PRESENT = 1031;
// Full-screen switches asked for on other threads wait for the main thread
// (HALWindowObject::requestFullScreen).
constexpr uint32_t HAL_MSG_FULL_SCREEN = 1032;

// Creates the main window (class name and title `name`), stores its handle
// and registers the two registry change notifications. 1 or 0.
int HAL_createWindow(void* instance, const char16_t* name, ce::WNDPROC procedure);
// Single instance, window, show: 1, or 0 when another instance runs (it is
// brought to the front) or the window cannot be made.
int HAL_createMainWindow(void* instance, int showCommand);
// Closes the registry notifications and the single-instance lock.
void HAL_closeRegistryNotifications();
void HAL_closeInstanceLock();

ce::HWND HAL_getMainWindow();
// Posts a message to the main window (the poster of HAL_requestExit).
bool HAL_postToMainWindow(uint32_t message, uintptr_t wParam, intptr_t lParam);

// The current window object, kept in the window's user data.
void HAL_setWindowObject(HALWindowObject* object);
HALWindowObject* HAL_getWindowObject();

intptr_t HAL_classWindowProc(ce::HWND window, uint32_t message, uintptr_t wParam, intptr_t lParam);
intptr_t HAL_mainWindowProc(ce::HWND window, uint32_t message, uintptr_t wParam, intptr_t lParam);
