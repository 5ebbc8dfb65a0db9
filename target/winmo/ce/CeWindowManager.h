#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CeTypes.h"

// The phone system's window manager: window classes, windows with their
// procedures and user data, one message queue for the process, timers and
// painting.
//
// The queue's rules:
// - PeekMessageW and GetMessageW take the first message that passes the
//   window and range filters, even behind others (the filter range 0..0
//   passes every message). The quit message has no window and passes every
//   window filter.
// - WM_PAINT for an invalid window and WM_TIMER for a due timer are made
//   only when no posted message passes the filters, paint before timers. A
//   window stays invalid until BeginPaint (or DefWindowProcW's handling of
//   WM_PAINT) validates it; a timer is due again one period after its
//   message was made (ticks missed meanwhile are not made up).
// - Messages for a destroyed window are dropped, and posting to one fails.
// - A mouse move posted right behind another mouse move of the same window
//   and buttons replaces it.
// - SendMessageW calls the window procedure at once, on the caller's thread.
// - GetMessageW blocks until a message passes the filters; the backend's
//   input (keys, stylus, activation, close) is read on the thread that
//   waits, and a post from any thread wakes it.
// Activation: SetForegroundWindow posts WM_ACTIVATE (WA_INACTIVE to the
// window that loses activation, WA_ACTIVE to the one that gains it) only
// when the active window really changes; the backend's focus, minimising
// and restoring arrive the same way.
//
// The stand-in never posts or sends the private messages 1023 to 1029
// itself.
namespace ce {

BOOL RegisterClassW(const WNDCLASSW* windowClass);
// The window's rectangle: CW_USEDEFAULT for x, y, width or height gives
// the work area's. A window without a parent is a top-level window; the
// first one made is the process's main window, which receives the
// backend's input and whose title names the backend's window.
HWND CreateWindowW(const char16_t* className, const char16_t* title, DWORD style, int32_t x, int32_t y,
                   int32_t width, int32_t height, HWND parent, void* menu, HINSTANCE instance, void* parameter);
// Sends WM_DESTROY, then forgets the window's messages, timers and paint.
BOOL DestroyWindow(HWND window);
// WM_PAINT: validates the window (BeginPaint and EndPaint); WM_CLOSE:
// destroys it; WM_ERASEBKGND: 1; everything else: 0.
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// A null window posts a message without a window (only the quit message
// has none in practice).
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PeekMessageW(MSG* msg, HWND window, UINT first, UINT last, UINT remove);
// FALSE for the quit message, TRUE for any other.
BOOL GetMessageW(MSG* msg, HWND window, UINT first, UINT last);
// WM_KEYDOWN of a printable key (letters as lower case, digits, the keypad's
// digits, the blank) posts WM_CHAR for it; Enter, Back, Escape and every
// other key make no character.
BOOL TranslateMessage(const MSG* msg);
// A timer message with a timer procedure calls that procedure; every other
// message goes to its window's procedure. 0 for messages without a live
// window.
LRESULT DispatchMessageW(const MSG* msg);
void PostQuitMessage(int code);
// SW_HIDE hides, SW_MINIMIZE deactivates, every other command shows (and
// invalidates a window that was hidden). TRUE when the window was visible.
BOOL ShowWindow(HWND window, int command);
// Sends WM_PAINT at once when the window is invalid.
BOOL UpdateWindow(HWND window);
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
// Validates the window; sends WM_ERASEBKGND first when the invalidation
// asked for erasing (fErase: the procedure returned 0).
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL GetWindowRect(HWND window, RECT* rect);
// Sends WM_SIZE when the size changes.
BOOL MoveWindow(HWND window, int32_t x, int32_t y, int32_t width, int32_t height, BOOL repaint);
// The lowest bit of the handle is ignored. A window of another process
// (from FindWindowW) is asked to come to the front.
BOOL SetForegroundWindow(HWND window);
HWND GetForegroundWindow();
// A window of this process by class name (and title, when given), else the
// main window of another process of this user whose class has that name.
HWND FindWindowW(const char16_t* className, const char16_t* title);
BOOL IsWindow(HWND window);
BOOL IsWindowEnabled(HWND window);
BOOL IsWindowVisible(HWND window);
intptr_t SetWindowLongPtrW(HWND window, int index, intptr_t value);
intptr_t GetWindowLongPtrW(HWND window, int index);
// Starts (or restarts) timer `id` of the window; without a window a new id
// is chosen. The id, or 0 on failure.
uintptr_t SetTimer(HWND window, uintptr_t id, UINT milliseconds, TIMERPROC procedure);
BOOL KillTimer(HWND window, uintptr_t id);
// The input method's real key for VK_PROCESSKEY: this system has no input
// method, so 0.
UINT ImmGetVirtualKey(HWND window);
// Milliseconds of the device's tick counter, as messages carry it.
DWORD GetTickCount();

}  // namespace ce

// What the rest of the stand-in needs of the window manager.
class CeWindowManager {
 public:
  CeWindowManager() = delete;

  // The first live top-level window, or null.
  static ce::HWND mainWindow();
  // Posts a message of the backend's input to the active window, else to
  // the main window; false when there is none.
  static bool postInput(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam);
  // The backend's window gained (true) or lost the focus, or was
  // minimised: activation messages as SetForegroundWindow makes them.
  static void backendActivated(bool active, bool minimised);
  // Live top-level windows, oldest first.
  static std::vector<ce::HWND> topLevelWindows();
  // The window's rectangle on the screen; false for a dead or foreign
  // window.
  static bool screenRect(ce::HWND window, ce::RECT* rect);
  // The display changed its size: every top-level window that covered the
  // old screen (or the old work area) now covers the new one, with WM_SIZE
  // posted to it, and every top-level window gets WM_SETTINGCHANGE with
  // SETTINGCHANGE_RESET.
  static void displayChanged(const ce::RECT& oldScreen, const ce::RECT& newScreen, const ce::RECT& oldWork,
                             const ce::RECT& newWork);
  // Wakes a thread waiting in GetMessageW.
  static void wake();
  // Forgets every window, class, timer and message (tests).
  static void reset();
};
