// The display (orientation, metrics, work area, full-screen windows, the
// settings-change message) and the registry (seeds, values, notifications).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "DeviceProfile.h"
#include "StandInTestSupport.h"

using namespace ce;

namespace {

DWORD currentOrientation() {
  DEVMODEW mode{};
  mode.dmFields = DM_DISPLAYORIENTATION;
  mode.dmDisplayOrientation = 99;
  EXPECT_EQ(ChangeDisplaySettingsExW(nullptr, &mode, nullptr, CDS_TEST, nullptr), DISP_CHANGE_SUCCESSFUL);
  return mode.dmDisplayOrientation;
}

RECT workArea() {
  RECT area{};
  EXPECT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
  return area;
}

class Display : public testing::Test {
 protected:
  void SetUp() override { resetStandIn(); }
};

TEST_F(Display, OrientationsSwapTheMetricsAndTheWorkArea) {
  const struct {
    DWORD orientation;
    int32_t width, height;
  } cases[] = {{DMDO_90, 320, 240}, {DMDO_180, 240, 320}, {DMDO_270, 320, 240}, {DMDO_0, 240, 320}};
  for (const auto& c : cases) {
    ASSERT_EQ(changeOrientation(c.orientation), DISP_CHANGE_SUCCESSFUL) << c.orientation;
    EXPECT_EQ(currentOrientation(), c.orientation);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), c.width);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), c.height);
    const RECT area = workArea();
    EXPECT_EQ(area.top, 26);
    EXPECT_EQ(area.right, c.width);
    EXPECT_EQ(area.bottom, c.height);
  }
  EXPECT_EQ(GetSystemMetrics(42), 0);
}

TEST_F(Display, RefusedAndUnknownOrientationsChangeNothing) {
  EXPECT_EQ(changeOrientation(3), DISP_CHANGE_BADMODE);
  EXPECT_EQ(changeOrientation(8), DISP_CHANGE_BADMODE);
  CeDisplay::setRefusesChanges(true);
  EXPECT_EQ(changeOrientation(DMDO_90), DISP_CHANGE_BADMODE);
  CeDisplay::setRefusesChanges(false);
  // A display that only turns by 90 degrees.
  DeviceProfile::instance().updateFacts([](DeviceProfile::Facts& f) { f.acceptedOrientations = DMDO_90; });
  EXPECT_EQ(changeOrientation(DMDO_180), DISP_CHANGE_BADMODE);
  EXPECT_EQ(currentOrientation(), DMDO_0);
  DEVMODEW query{};
  query.dmFields = DM_DISPLAYQUERYORIENTATION;
  ASSERT_EQ(ChangeDisplaySettingsExW(nullptr, &query, nullptr, CDS_TEST, nullptr), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(query.dmDisplayQuery, DMDO_90);
  EXPECT_EQ(changeOrientation(DMDO_90), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr), DISP_CHANGE_BADMODE);
}

TEST_F(Display, ARealChangeResizesFullScreenWindowsAndTellsEveryWindowOnce) {
  HWND full = RecordingWindows::create(u"Full");
  HWND work = RecordingWindows::create(u"Work");
  HWND small = RecordingWindows::create(u"Small");
  MoveWindow(full, 0, 0, 240, 320, FALSE);
  MoveWindow(small, 10, 40, 100, 100, FALSE);
  drain();
  RecordingWindows::clear();

  ASSERT_EQ(changeOrientation(DMDO_270), DISP_CHANGE_SUCCESSFUL);
  drain();
  const auto taken = RecordingWindows::take();
  const auto count = [&](HWND w, UINT m) {
    return std::count_if(taken.begin(), taken.end(), [&](const Recorded& r) { return r.window == w && r.message == m; });
  };
  for (HWND w : {full, work, small}) EXPECT_EQ(count(w, WM_SETTINGCHANGE), 1);
  EXPECT_EQ(count(full, WM_SIZE), 1);
  EXPECT_EQ(count(work, WM_SIZE), 1);
  EXPECT_EQ(count(small, WM_SIZE), 0);
  RECT rect{};
  GetWindowRect(full, &rect);
  EXPECT_EQ(rect.right, 320);
  EXPECT_EQ(rect.bottom, 240);
  GetWindowRect(work, &rect);
  EXPECT_EQ(rect.top, 26);
  EXPECT_EQ(rect.right, 320);
  EXPECT_EQ(rect.bottom, 240);
  GetWindowRect(small, &rect);
  EXPECT_EQ(rect.right, 110);
  for (const Recorded& r : taken) {
    if (r.message == WM_SETTINGCHANGE) EXPECT_EQ(r.wParam, SETTINGCHANGE_RESET);
    if (r.window == full && r.message == WM_SIZE) EXPECT_EQ(r.lParam, (240 << 16) | 320);
  }

  // The same orientation again, or a test: no message at all.
  ASSERT_EQ(changeOrientation(DMDO_270), DISP_CHANGE_SUCCESSFUL);
  ASSERT_EQ(changeOrientation(DMDO_0, CDS_TEST), DISP_CHANGE_SUCCESSFUL);
  EXPECT_TRUE(drain().empty());
}

TEST_F(Display, ShellCallsAreRecordedAndTextsComeFromTheProfile) {
  HWND w = RecordingWindows::create(u"Shell");
  EXPECT_TRUE(SHFullScreen(w, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON));
  EXPECT_TRUE(SHHandleWMActivate(w, WA_ACTIVE, 0, nullptr, 0));
  const auto calls = CeDisplay::shellCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].kind, CeDisplay::ShellCall::kFullScreen);
  EXPECT_EQ(calls[0].value, 42u);
  EXPECT_EQ(calls[1].kind, CeDisplay::ShellCall::kHandleActivate);

  DeviceProfile::instance().updateFacts([](DeviceProfile::Facts& f) { f.oemInfo = u"HTC Touch Pro2 T7373"; });
  char16_t text[8];
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETOEMINFO, sizeof text, text, 0));
  EXPECT_EQ(std::u16string(text), u"HTC Tou");  // cut to the buffer, ended by 0
  EXPECT_FALSE(SystemParametersInfoW(SPI_GETOEMINFO, 1, text, 0));
  EXPECT_FALSE(SystemParametersInfoW(SPI_GETWORKAREA, 0, nullptr, 0));
  EXPECT_EQ(GetDeviceCaps(nullptr, BITSPIXEL), 16);
}

class Registry : public testing::Test {
 protected:
  void SetUp() override { resetStandIn(); }

  static DWORD readDword(HKEY root, const char16_t* path, const char16_t* name, long* result = nullptr) {
    HKEY key = 0;
    long r = RegOpenKeyExW(root, path, 0, 0, &key);
    DWORD value = 0, type = 0, size = sizeof value;
    if (r == ERROR_SUCCESS) r = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (key) RegCloseKey(key);
    if (result) *result = r;
    return r == ERROR_SUCCESS && type == REG_DWORD ? value : 0xFFFFFFFF;
  }
};

TEST_F(Registry, SeedsComeFromTheProfileAndFollowIt) {
  DeviceProfile::instance().updateFacts([](DeviceProfile::Facts& f) {
    f.deviceName = u"Pocket";
    f.powerTimeouts = {{"BattPowerOff", 60}, {"ACSuspendTimeout", 30}, {"Unknown", 5}};
  });
  const char16_t* power = u"SYSTEM\\CurrentControlSet\\Control\\Power";
  EXPECT_EQ(readDword(HKEY_LOCAL_MACHINE, power, u"BattPowerOff"), 60u);
  // Paths and names without regard to case.
  EXPECT_EQ(readDword(HKEY_LOCAL_MACHINE, u"system\\currentcontrolset\\control\\power\\TIMEOUTS",
                      u"acsuspendtimeout"),
            30u);
  long result = 0;
  readDword(HKEY_LOCAL_MACHINE, power, u"ExtPowerOff", &result);
  EXPECT_EQ(result, ERROR_FILE_NOT_FOUND);
  readDword(HKEY_LOCAL_MACHINE, power, u"Unknown", &result);
  EXPECT_EQ(result, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(readDword(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Status"), 0u);

  HKEY ident = 0;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Ident", 0, 0, &ident), ERROR_SUCCESS);
  DWORD type = 0, size = 0;
  ASSERT_EQ(RegQueryValueExW(ident, u"Name", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 14u);  // "Pocket" and its 0, in bytes
  char16_t name[4];
  size = sizeof name;
  EXPECT_EQ(RegQueryValueExW(ident, u"Name", nullptr, &type, reinterpret_cast<BYTE*>(name), &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 14u);
  // A changed profile is seen at once.
  DeviceProfile::instance().updateFacts([](DeviceProfile::Facts& f) { f.powerTimeouts.clear(); });
  readDword(HKEY_LOCAL_MACHINE, power, u"BattPowerOff", &result);
  EXPECT_EQ(result, ERROR_FILE_NOT_FOUND);
  RegCloseKey(ident);
}

TEST_F(Registry, MalformedCallsGetClearErrors) {
  HKEY key = 0;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"No\\Such\\Key", 0, 0, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Ident\\\\Name", 0, 0, &key), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegOpenKeyExW(12345, u"Ident", 0, 0, &key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Ident", 0, 0, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCloseKey(777), ERROR_INVALID_HANDLE);
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Test", 0, nullptr, 0, 0, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, 1u);
  const BYTE three[3] = {1, 2, 3};
  EXPECT_EQ(RegSetValueExW(key, u"D", 0, REG_DWORD, three, 3), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValueExW(key, u"D", 0, REG_BINARY, nullptr, 3), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValueExW(HKEY_CURRENT_USER, u"D", 0, REG_BINARY, three, 3), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegDeleteValueW(key, u"D"), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
  EXPECT_EQ(RegQueryValueExW(key, u"D", nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
  // The key above the new one was made too.
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software", 0, 0, &key), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(Registry, ChangesNotifyTheWatchingWindowUntilClosed) {
  HWND w = RecordingWindows::create(u"Watcher");
  drain();
  RecordingWindows::clear();
  HREGNOTIFY status = nullptr, sms = nullptr;
  ASSERT_EQ(RegistryNotifyWindow(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Status", w, 1026, 11, nullptr, &status),
            ERROR_SUCCESS);
  ASSERT_EQ(RegistryNotifyWindow(HKEY_CURRENT_USER, u"System\\State\\Messages\\SMS\\Unread", u"Count", w, 1029, 12,
                                 nullptr, &sms),
            ERROR_SUCCESS);
  EXPECT_EQ(CeRegistry::openNotifications(), 2u);

  // A change, the same value again (nothing), another value of the key
  // (nothing), a change of the other watched value, a deletion.
  CeRegistry::setDword(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Status", 5);
  CeRegistry::setDword(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"STATUS", 5);
  CeRegistry::setDword(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Other", 1);
  CeRegistry::setDword(HKEY_CURRENT_USER, u"System\\State\\Messages\\SMS\\Unread", u"Count", 3);
  HKEY key = 0;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", 0, 0, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueW(key, u"Status"), ERROR_SUCCESS);
  drain();
  const auto taken = RecordingWindows::take();
  ASSERT_EQ(taken.size(), 3u);
  EXPECT_EQ(taken[0].message, 1026u);
  EXPECT_EQ(taken[0].wParam, 5u);
  EXPECT_EQ(taken[0].lParam, 11);
  EXPECT_EQ(taken[1].message, 1029u);
  EXPECT_EQ(taken[1].wParam, 3u);
  EXPECT_EQ(taken[2].message, 1026u);
  EXPECT_EQ(taken[2].wParam, 0u);

  EXPECT_EQ(RegistryCloseNotification(status), ERROR_SUCCESS);
  EXPECT_EQ(RegistryCloseNotification(status), ERROR_INVALID_HANDLE);
  CeRegistry::setDword(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Status", 9);
  EXPECT_TRUE(drain().empty());
  EXPECT_EQ(RegistryCloseNotification(sms), ERROR_SUCCESS);
  EXPECT_EQ(CeRegistry::openNotifications(), 0u);
  RegCloseKey(key);

  // Bad arguments: no window, a condition, no out-argument.
  HREGNOTIFY none = nullptr;
  EXPECT_NE(RegistryNotifyWindow(HKEY_LOCAL_MACHINE, u"X", u"Y", nullptr, 1, 0, nullptr, &none), ERROR_SUCCESS);
  int condition = 0;
  EXPECT_NE(RegistryNotifyWindow(HKEY_LOCAL_MACHINE, u"X", u"Y", w, 1, 0, &condition, &none), ERROR_SUCCESS);
  EXPECT_NE(RegistryNotifyWindow(HKEY_LOCAL_MACHINE, u"X", u"Y", w, 1, 0, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(none, nullptr);
}

}  // namespace
