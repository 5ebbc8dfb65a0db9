#pragma once

// A small stand-in for the phone system's window manager and services, used
// by the application shell until the full stand-in (target/winmo/ce, with
// its SDL2 and headless backends) takes its place. It keeps the phone's
// names and meanings for what the shell needs: one message queue for the
// process with window and range filters, windows with procedures and user
// data, posted, dispatched and translated messages, the quit message, the
// display's orientation, the single-instance lock (an abstract socket
// address per user and name),
// and SIGTERM and SIGINT turned into a close message. It has no screen:
// it is headless. Services the shell only calls in passing (full screen,
// activation handling, registry notifications, COM, timers, vendor
// libraries, the idle timer) do nothing here.
//
// Everything lives in namespace hostwin so that it never meets the full
// stand-in's definitions.

#include <cstdint>

namespace hostwin {

using HWND = struct HostWindow*;
using HANDLE = void*;
using HINSTANCE = void*;
using HMODULE = void*;
using HKEY = uintptr_t;
using HREGNOTIFY = void*;
using UINT = uint32_t;
using DWORD = uint32_t;
using BYTE = uint8_t;
using BOOL = int;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

struct POINT {
  int32_t x, y;
};
struct RECT {
  int32_t left, top, right, bottom;
};
struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
using MSG = tagMSG;
struct WNDCLASSW {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra, cbWndExtra;
  HINSTANCE hInstance;
  void* hIcon;
  void* hCursor;
  void* hbrBackground;
  const char16_t* lpszMenuName;
  const char16_t* lpszClassName;
};
struct PAINTSTRUCT {
  void* hdc;
  BOOL fErase;
  RECT rcPaint;
};
struct DEVMODEW {
  uint16_t dmSize;
  DWORD dmFields;
  DWORD dmDisplayOrientation;
};
struct MEMORYSTATUS {
  DWORD dwLength;
  DWORD dwMemoryLoad;
  uint64_t dwTotalPhys, dwAvailPhys, dwTotalPageFile, dwAvailPageFile, dwTotalVirtual, dwAvailVirtual;
};

// Messages.
constexpr UINT WM_CREATE = 1, WM_DESTROY = 2, WM_SIZE = 5, WM_ACTIVATE = 6, WM_PAINT = 15, WM_CLOSE = 16,
               WM_QUIT = 18, WM_ERASEBKGND = 20, WM_SETTINGCHANGE = 26, WM_KEYDOWN = 256, WM_KEYUP = 257,
               WM_CHAR = 258, WM_TIMER = 275, WM_MOUSEMOVE = 512, WM_LBUTTONDOWN = 513, WM_LBUTTONUP = 514;
constexpr WPARAM MK_LBUTTON = 1;
constexpr UINT PM_REMOVE = 1;
constexpr UINT CS_HREDRAW = 2, CS_VREDRAW = 1;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr int32_t CW_USEDEFAULT = INT32_MIN;
constexpr int GWL_USERDATA = -21;
constexpr int SM_CXSCREEN = 0, SM_CYSCREEN = 1;
constexpr UINT SPI_GETWORKAREA = 48;
constexpr DWORD DM_DISPLAYORIENTATION = 0x800000;
constexpr DWORD CDS_TEST = 2;
constexpr long DISP_CHANGE_SUCCESSFUL = 0, DISP_CHANGE_BADMODE = -2;
constexpr DWORD COINIT_MULTITHREADED = 0;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u, HKEY_LOCAL_MACHINE = 0x80000002u;

// Windows and the queue.
BOOL RegisterClassW(const WNDCLASSW* windowClass);
HWND CreateWindowW(const char16_t* className, const char16_t* title, DWORD style, int32_t x, int32_t y,
                   int32_t width, int32_t height, HWND parent, void* menu, HINSTANCE instance, void* parameter);
BOOL DestroyWindow(HWND window);
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PeekMessageW(MSG* msg, HWND window, UINT first, UINT last, UINT remove);
BOOL GetMessageW(MSG* msg, HWND window, UINT first, UINT last);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);
void PostQuitMessage(int code);
BOOL ShowWindow(HWND window, int command);
BOOL UpdateWindow(HWND window);
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
void* BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL MoveWindow(HWND window, int32_t x, int32_t y, int32_t width, int32_t height, BOOL repaint);
BOOL SetForegroundWindow(HWND window);
HWND FindWindowW(const char16_t* className, const char16_t* title);
BOOL IsWindowEnabled(HWND window);
BOOL IsWindowVisible(HWND window);
intptr_t SetWindowLongPtrW(HWND window, int index, intptr_t value);
intptr_t GetWindowLongPtrW(HWND window, int index);
uintptr_t SetTimer(HWND window, uintptr_t id, UINT milliseconds, void* procedure);
BOOL KillTimer(HWND window, uintptr_t id);
UINT ImmGetVirtualKey(HWND window);

// Display and shell.
int32_t GetSystemMetrics(int index);
BOOL SystemParametersInfoW(UINT action, UINT parameter, void* value, UINT flags);
long ChangeDisplaySettingsExW(const char16_t* device, DEVMODEW* mode, HWND window, DWORD flags, void* parameter);
BOOL SHFullScreen(HWND window, DWORD state);
BOOL SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM lParam, void* info, DWORD flags);
long RegistryNotifyWindow(HKEY root, const char16_t* path, const char16_t* value, HWND window, UINT message,
                          DWORD id, void* condition, HREGNOTIFY* out);
long RegistryCloseNotification(HREGNOTIFY notification);

// Process services.
HANDLE CreateMutexW(void* attributes, BOOL initialOwner, const char16_t* name);
DWORD GetLastError();
BOOL CloseHandle(HANDLE handle);
long CoInitializeEx(void* reserved, DWORD mode);
void CoUninitialize();
void GlobalMemoryStatus(MEMORYSTATUS* status);
void SystemIdleTimerReset();
HMODULE LoadLibraryW(const char16_t* name);
void* GetProcAddressW(HMODULE module, const char16_t* name);

// The power-notification source: waits up to `milliseconds` for a change
// of the power state; true and the new state in *on when one came.
bool waitForPowerChange(uint32_t milliseconds, bool* on);
// Test seam: a change of the power state.
void injectPowerChange(bool on);
// Ends every wait for a power change at once, and every later one, until
// called with false.
void cancelPowerWaits(bool cancel);

// Test seams: the display's orientation (the system value 0, 1, 2 or 4),
// whether the display refuses changes, and the memory the status reports.
void setDisplayOrientation(DWORD value);
void setDisplayRefuses(bool refuses);
void setAvailableMemory(uint64_t bytes);
// Forgets every window and message (tests).
void reset();

}  // namespace hostwin
