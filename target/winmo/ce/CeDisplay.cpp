#include "CeDisplay.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

#include "CeBackend.h"
#include "CeWindowManager.h"
#include "DeviceProfile.h"

using namespace ce;

namespace {

struct State {
  std::mutex mutex;
  bool initialised = false;
  DWORD orientation = 0;
  bool refuses = false;
  std::vector<CeDisplay::ShellCall> shellCalls;
};

State& state() {
  static State* s = new State();
  return *s;
}

// The record of the shell's calls keeps the latest ones only.
constexpr size_t kShellCallsKept = 256;

void record(const CeDisplay::ShellCall& call) {
  auto& calls = state().shellCalls;
  if (calls.size() >= kShellCallsKept) calls.erase(calls.begin());
  calls.push_back(call);
}

// The orientation, read from the profile on first use (the lock held).
DWORD orientationLocked() {
  State& s = state();
  if (!s.initialised) {
    s.orientation = DeviceProfile::instance().facts().initialOrientation;
    s.initialised = true;
  }
  return s.orientation;
}

bool sideways(DWORD orientation) { return orientation == DMDO_90 || orientation == DMDO_270; }

RECT screenFor(const DeviceProfile::Facts& facts, DWORD orientation) {
  return sideways(orientation) ? RECT{0, 0, facts.screenHeight, facts.screenWidth}
                               : RECT{0, 0, facts.screenWidth, facts.screenHeight};
}

RECT workAreaFor(const DeviceProfile::Facts& facts, DWORD orientation) {
  RECT area = screenFor(facts, orientation);
  area.top = std::min(area.bottom, std::max(0, facts.taskBarHeight));
  return area;
}

DWORD current() {
  std::lock_guard<std::mutex> lock(state().mutex);
  return orientationLocked();
}

// Copies a profile text into a wide buffer of `bytes` bytes, cut to fit.
BOOL copyText(const std::u16string& text, UINT bytes, void* value) {
  const size_t capacity = bytes / sizeof(char16_t);
  if (!value || capacity == 0) return FALSE;
  const size_t n = std::min(text.size(), capacity - 1);
  auto* out = static_cast<char16_t*>(value);
  std::memcpy(out, text.data(), n * sizeof(char16_t));
  out[n] = u'\0';
  return TRUE;
}

}  // namespace

namespace ce {

int32_t GetSystemMetrics(int index) {
  const RECT screen = screenFor(DeviceProfile::instance().facts(), current());
  return index == SM_CXSCREEN ? screen.right : index == SM_CYSCREEN ? screen.bottom : 0;
}

BOOL SystemParametersInfoW(UINT action, UINT parameter, void* value, UINT) {
  if (!value) return FALSE;
  const DeviceProfile::Facts facts = DeviceProfile::instance().facts();
  switch (action) {
    case SPI_GETWORKAREA:
      *static_cast<RECT*>(value) = workAreaFor(facts, current());
      return TRUE;
    case SPI_GETPLATFORMTYPE:
      return copyText(facts.platformType, parameter, value);
    case SPI_GETOEMINFO:
      return copyText(facts.oemInfo, parameter, value);
    case SPI_GETPLATFORMMANUFACTURER:
      return copyText(facts.manufacturer, parameter, value);
    default:
      return FALSE;
  }
}

long ChangeDisplaySettingsExW(const char16_t*, DEVMODEW* mode, HWND, DWORD flags, void*) {
  if (!mode || !(mode->dmFields & (DM_DISPLAYORIENTATION | DM_DISPLAYQUERYORIENTATION))) return DISP_CHANGE_BADMODE;
  const DeviceProfile::Facts facts = DeviceProfile::instance().facts();
  DWORD before = 0;
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    before = orientationLocked();
    if (flags & CDS_TEST) {
      if (mode->dmFields & DM_DISPLAYORIENTATION) mode->dmDisplayOrientation = before;
      if (mode->dmFields & DM_DISPLAYQUERYORIENTATION) mode->dmDisplayQuery = facts.acceptedOrientations;
      return DISP_CHANGE_SUCCESSFUL;
    }
    if (!(mode->dmFields & DM_DISPLAYORIENTATION)) return DISP_CHANGE_BADMODE;
    const DWORD wanted = mode->dmDisplayOrientation;
    const bool known = wanted == DMDO_0 || wanted == DMDO_90 || wanted == DMDO_180 || wanted == DMDO_270;
    if (state().refuses || !known || (wanted != DMDO_0 && !(facts.acceptedOrientations & wanted))) {
      return DISP_CHANGE_BADMODE;
    }
    if (wanted == before) return DISP_CHANGE_SUCCESSFUL;
    state().orientation = wanted;
  }
  const DWORD after = mode->dmDisplayOrientation;
  const RECT screen = screenFor(facts, after);
  CeBackend::current().resizeScreen(screen.right, screen.bottom);
  CeWindowManager::displayChanged(screenFor(facts, before), screen, workAreaFor(facts, before),
                                  workAreaFor(facts, after));
  return DISP_CHANGE_SUCCESSFUL;
}

BOOL SHFullScreen(HWND window, DWORD fullScreenState) {
  std::lock_guard<std::mutex> lock(state().mutex);
  record({CeDisplay::ShellCall::kFullScreen, window, fullScreenState});
  return TRUE;
}

BOOL SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM, void*, DWORD) {
  std::lock_guard<std::mutex> lock(state().mutex);
  record({CeDisplay::ShellCall::kHandleActivate, window, wParam});
  return TRUE;
}

}  // namespace ce

DWORD CeDisplay::orientation() { return current(); }

void CeDisplay::setOrientation(DWORD value) {
  std::lock_guard<std::mutex> lock(state().mutex);
  state().initialised = true;
  state().orientation = value;
}

void CeDisplay::setRefusesChanges(bool refuses) {
  std::lock_guard<std::mutex> lock(state().mutex);
  state().refuses = refuses;
}

std::vector<CeDisplay::ShellCall> CeDisplay::shellCalls() {
  std::lock_guard<std::mutex> lock(state().mutex);
  return state().shellCalls;
}

void CeDisplay::reset() {
  std::lock_guard<std::mutex> lock(state().mutex);
  state().initialised = false;
  state().refuses = false;
  state().shellCalls.clear();
}
