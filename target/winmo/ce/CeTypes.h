#pragma once

// The phone system's handle types, records and constants as the platform
// layer uses them: window messages, virtual keys, display modes, the
// registry, drawing. They keep the phone's names and values so that platform
// code reads like what it implements. Everything lives in namespace ce.

#include <cstdint>

namespace ce {

using HWND = struct CeWindow*;
using HDC = struct CeDeviceContext*;
using HGDIOBJ = void*;
using HBITMAP = void*;
using HANDLE = void*;
using HINSTANCE = void*;
using HMODULE = void*;
using HKEY = uintptr_t;
using HREGNOTIFY = void*;
using UINT = uint32_t;
using DWORD = uint32_t;
using BYTE = uint8_t;
using BOOL = int;
using LONG = int32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, uintptr_t, DWORD);

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
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
};
struct DEVMODEW {
  uint16_t dmSize;
  DWORD dmFields;
  DWORD dmDisplayOrientation;
  DWORD dmDisplayQuery;
  DWORD dmPelsWidth;
  DWORD dmPelsHeight;
  DWORD dmBitsPerPel;
};
struct MEMORYSTATUS {
  DWORD dwLength;
  DWORD dwMemoryLoad;
  uint64_t dwTotalPhys, dwAvailPhys, dwTotalPageFile, dwAvailPageFile, dwTotalVirtual, dwAvailVirtual;
};
struct SHELLEXECUTEINFOW {
  DWORD cbSize;
  DWORD fMask;
  HWND hwnd;
  const char16_t* lpVerb;
  const char16_t* lpFile;
  const char16_t* lpParameters;
  const char16_t* lpDirectory;
  int nShow;
  HINSTANCE hInstApp;
};

// Window messages.
constexpr UINT WM_NULL = 0, WM_CREATE = 1, WM_DESTROY = 2, WM_SIZE = 5, WM_ACTIVATE = 6, WM_SETFOCUS = 7,
               WM_KILLFOCUS = 8, WM_PAINT = 15, WM_CLOSE = 16, WM_QUIT = 18, WM_ERASEBKGND = 20,
               WM_SETTINGCHANGE = 26, WM_KEYDOWN = 256, WM_KEYUP = 257, WM_CHAR = 258, WM_TIMER = 275,
               WM_MOUSEMOVE = 512, WM_LBUTTONDOWN = 513, WM_LBUTTONUP = 514, WM_USER = 1024;
// WM_ACTIVATE's low word.
constexpr WPARAM WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2;
// WM_SETTINGCHANGE's wParam after a change of the display's settings.
constexpr WPARAM SETTINGCHANGE_RESET = 0x3002;
constexpr WPARAM MK_LBUTTON = 1;
constexpr UINT PM_NOREMOVE = 0, PM_REMOVE = 1;
constexpr UINT CS_HREDRAW = 2, CS_VREDRAW = 1;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr int32_t CW_USEDEFAULT = INT32_MIN;
constexpr int GWL_USERDATA = -21;
constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOW = 5, SW_MINIMIZE = 6, SW_RESTORE = 9;

// Virtual keys the phone's keyboard makes.
constexpr UINT VK_BACK = 8, VK_RETURN = 13, VK_ESCAPE = 27, VK_SPACE = 32, VK_LEFT = 37, VK_UP = 38,
               VK_RIGHT = 39, VK_DOWN = 40, VK_NUMPAD0 = 96, VK_F1 = 112, VK_F2 = 113, VK_F8 = 119,
               VK_F9 = 120, VK_PROCESSKEY = 229;
// The keypad's '*' and '#' come as these keys.
constexpr UINT VK_ASTERISK = VK_F8, VK_POUND = VK_F9;

// Display.
constexpr int SM_CXSCREEN = 0, SM_CYSCREEN = 1;
constexpr UINT SPI_GETWORKAREA = 48, SPI_GETPLATFORMTYPE = 257, SPI_GETOEMINFO = 258,
               SPI_GETPLATFORMMANUFACTURER = 262;
constexpr DWORD DM_DISPLAYORIENTATION = 0x800000, DM_DISPLAYQUERYORIENTATION = 0x1000000;
constexpr DWORD DMDO_0 = 0, DMDO_90 = 1, DMDO_180 = 2, DMDO_270 = 4;
constexpr DWORD CDS_TEST = 2;
constexpr long DISP_CHANGE_SUCCESSFUL = 0, DISP_CHANGE_FAILED = -1, DISP_CHANGE_BADMODE = -2;

// The phone shell's full-screen states.
constexpr DWORD SHFS_SHOWTASKBAR = 1, SHFS_HIDETASKBAR = 2, SHFS_SHOWSIPBUTTON = 4, SHFS_HIDESIPBUTTON = 8,
                SHFS_SHOWSTARTICON = 16, SHFS_HIDESTARTICON = 32;

// Drawing.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr int BITSPIXEL = 12, HORZRES = 8, VERTRES = 10;

// Registry.
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u, HKEY_CURRENT_USER = 0x80000001u,
               HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr DWORD REG_NONE = 0, REG_SZ = 1, REG_BINARY = 3, REG_DWORD = 4;
constexpr long ERROR_SUCCESS = 0, ERROR_FILE_NOT_FOUND = 2, ERROR_INVALID_HANDLE = 6, ERROR_INVALID_PARAMETER = 87,
               ERROR_MORE_DATA = 234;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;

// Process services.
constexpr DWORD COINIT_MULTITHREADED = 0;
constexpr DWORD SEE_MASK_NOCLOSEPROCESS = 0x40;

}  // namespace ce
