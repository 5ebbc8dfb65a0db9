#include "StandInTestSupport.h"

#include "CeHeadlessBackend.h"
#include "CePower.h"
#include "DeviceProfile.h"

using namespace ce;

namespace {

std::mutex recordMutex;
std::vector<Recorded> recorded;

LRESULT recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  {
    std::lock_guard<std::mutex> lock(recordMutex);
    recorded.push_back({window, message, wParam, lParam});
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void RecordingWindows::registerClass(const char16_t* name) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = recordingProcedure;
  windowClass.lpszClassName = name;
  RegisterClassW(&windowClass);
}

HWND RecordingWindows::create(const char16_t* name, const char16_t* title) {
  registerClass(name);
  return CreateWindowW(name, title, WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                       nullptr, nullptr, nullptr);
}

std::vector<Recorded> RecordingWindows::take() {
  std::lock_guard<std::mutex> lock(recordMutex);
  std::vector<Recorded> out;
  out.swap(recorded);
  return out;
}

std::vector<UINT> RecordingWindows::messages() {
  std::lock_guard<std::mutex> lock(recordMutex);
  std::vector<UINT> out;
  for (const Recorded& r : recorded) out.push_back(r.message);
  return out;
}

void RecordingWindows::clear() {
  std::lock_guard<std::mutex> lock(recordMutex);
  recorded.clear();
}

std::vector<UINT> drain(HWND window, UINT first, UINT last) {
  std::vector<UINT> out;
  MSG msg;
  while (PeekMessageW(&msg, window, first, last, PM_REMOVE)) {
    out.push_back(msg.message);
    DispatchMessageW(&msg);
  }
  return out;
}

long changeOrientation(DWORD value, DWORD flags) {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  mode.dmFields = DM_DISPLAYORIENTATION;
  mode.dmDisplayOrientation = value;
  return ChangeDisplaySettingsExW(nullptr, &mode, nullptr, flags, nullptr);
}

void resetStandIn() {
  CeWindowManager::reset();
  CeDisplay::reset();
  CeRegistry::reset();
  CePower::reset();
  CeHeadlessBackend::instance().clearFrames();
  DeviceProfile::instance().loadDefaults();
  RecordingWindows::clear();
}
