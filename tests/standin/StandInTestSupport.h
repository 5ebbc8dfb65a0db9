#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "CeWindows.h"

// A window class whose procedure records every message it gets (and hands
// it to DefWindowProcW), and a small fixture that starts every test from a
// clean stand-in.
struct Recorded {
  ce::HWND window;
  ce::UINT message;
  ce::WPARAM wParam;
  ce::LPARAM lParam;
};

class RecordingWindows {
 public:
  // Registers the class `name` (once per process).
  static void registerClass(const char16_t* name);
  // A visible top-level window of that class, titled `title`.
  static ce::HWND create(const char16_t* name, const char16_t* title = u"test");
  static std::vector<Recorded> take();
  // The messages recorded so far, without forgetting them.
  static std::vector<ce::UINT> messages();
  static void clear();
};

// Takes every waiting message and dispatches it; returns their numbers in
// the order taken.
std::vector<ce::UINT> drain(ce::HWND window = nullptr, ce::UINT first = 0, ce::UINT last = 0);

// ChangeDisplaySettingsExW with an orientation (and flags).
long changeOrientation(ce::DWORD value, ce::DWORD flags = 0);

// Resets the window manager, display, registry, power and frames.
void resetStandIn();
