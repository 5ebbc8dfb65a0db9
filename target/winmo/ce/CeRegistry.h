#pragma once

#include <cstdint>
#include <string>

#include "CeTypes.h"

// The phone's registry: keys under HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER
// and HKEY_CLASSES_ROOT holding named values (DWORD, text, bytes), with
// change notifications to a window. Key paths and value names are compared
// without regard to ASCII case. Nothing is stored on disk: every run starts
// from the seeds.
//
// Seeded from the device profile (and seeded again whenever the profile's
// facts change):
// - HKLM "Ident" "Name": the device name (text);
// - HKLM "SYSTEM\CurrentControlSet\Control\Power" "BattPowerOff",
//   "ExtPowerOff", "ScreenPowerOff" and its subkey "Timeouts"
//   "BattSuspendTimeout", "ACSuspendTimeout": the profile's power time-outs
//   that are set (DWORD seconds);
// - HKLM "System\State\Phone" "Status" and HKCU
//   "System\State\Messages\SMS\Unread" "Count": DWORD 0.
//
// Return values are 0 (ERROR_SUCCESS) or an error: ERROR_FILE_NOT_FOUND for
// a missing key or value, ERROR_INVALID_HANDLE for an unknown key handle,
// ERROR_INVALID_PARAMETER for null or malformed arguments, ERROR_MORE_DATA
// when the value does not fit (*size then holds the size needed).
namespace ce {

long RegOpenKeyExW(HKEY root, const char16_t* subKey, DWORD options, DWORD access, HKEY* out);
// Opens the key, making it (and the keys above it) when missing;
// *disposition (optional) is 1 when made, 2 when it existed.
long RegCreateKeyExW(HKEY root, const char16_t* subKey, DWORD reserved, char16_t* keyClass, DWORD options,
                     DWORD access, void* security, HKEY* out, DWORD* disposition);
long RegCloseKey(HKEY key);
// With a null `data` only *type and *size are filled in.
long RegQueryValueExW(HKEY key, const char16_t* name, DWORD* reserved, DWORD* type, BYTE* data, DWORD* size);
// A value whose type or bytes change notifies the windows that watch it.
long RegSetValueExW(HKEY key, const char16_t* name, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
long RegDeleteValueW(HKEY key, const char16_t* name);

// The phone shell's registry notification to a window (ordinal 339): every
// later change of value `value` under `root`\`path` (made, changed or
// deleted) posts `message` to `window` with the new DWORD value as wParam
// (0 for other types and after deletion) and `id` as lParam. Only a null
// condition (any change) is known. *out receives the notification.
long RegistryNotifyWindow(HKEY root, const char16_t* path, const char16_t* value, HWND window, UINT message,
                          DWORD id, void* condition, HREGNOTIFY* out);
// Ends a notification (ordinal 341).
long RegistryCloseNotification(HREGNOTIFY notification);

}  // namespace ce

// Test seams of the registry.
class CeRegistry {
 public:
  CeRegistry() = delete;

  // Sets a DWORD value, making its key; notifications as RegSetValueExW.
  static bool setDword(ce::HKEY root, const std::u16string& path, const std::u16string& name, ce::DWORD value);
  // How many notifications are open.
  static size_t openNotifications();
  // Forgets every key, handle and notification; the seeds come back on the
  // next use.
  static void reset();
};
