#pragma once

#include <cstdint>
#include <vector>

#include "CeTypes.h"

// The phone's display and the shell's window services: the screen's
// metrics and work area, the display's orientation, the full-screen switch
// and the activation handling of the phone shell.
//
// Sizes come from the device profile (upright size, task bar, accepted
// orientations). At 90 and 270 degrees the screen's width and height swap.
namespace ce {

// SM_CXSCREEN and SM_CYSCREEN: the screen in its current orientation; 0
// for other indexes.
int32_t GetSystemMetrics(int index);
// SPI_GETWORKAREA (a RECT: the screen below the task bar),
// SPI_GETPLATFORMTYPE, SPI_GETOEMINFO and SPI_GETPLATFORMMANUFACTURER (the
// profile's text into a buffer of `parameter` bytes, cut to fit and always
// ended by a 0 character). FALSE for anything else or a null value.
BOOL SystemParametersInfoW(UINT action, UINT parameter, void* value, UINT flags);
// With DM_DISPLAYORIENTATION: CDS_TEST fills in the current orientation
// (and DM_DISPLAYQUERYORIENTATION fills dmDisplayQuery with the accepted
// set); otherwise the display turns to dmDisplayOrientation when it accepts
// it (DISP_CHANGE_BADMODE when not, or when a refusal was injected). A real
// change resizes every top-level window that covered the whole screen to
// the new screen (WM_SIZE posted to it), tells the backend, and posts
// WM_SETTINGCHANGE with SETTINGCHANGE_RESET to every top-level window.
long ChangeDisplaySettingsExW(const char16_t* device, DEVMODEW* mode, HWND window, DWORD flags, void* parameter);
// The phone shell's full-screen switch (ordinal 65) and activation handling
// (ordinal 84): recorded, nothing else (this display has no task bar to
// hide). TRUE.
BOOL SHFullScreen(HWND window, DWORD state);
BOOL SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM lParam, void* info, DWORD flags);

}  // namespace ce

// Test seams and records of the display.
class CeDisplay {
 public:
  CeDisplay() = delete;

  // The current orientation (the system value 0, 1, 2 or 4).
  static ce::DWORD orientation();
  // Sets the orientation without any message or resize (tests; any value,
  // so that a display in an unknown state can be shown).
  static void setOrientation(ce::DWORD value);
  // Every later change is refused while set.
  static void setRefusesChanges(bool refuses);
  // The latest 256 calls of the phone shell, oldest first.
  struct ShellCall {
    enum Kind { kFullScreen, kHandleActivate } kind;
    ce::HWND window;
    uintptr_t value;  // the full-screen state, or the activation's wParam
  };
  static std::vector<ShellCall> shellCalls();
  // Back to the profile's initial orientation, no refusal, no record.
  static void reset();
};
