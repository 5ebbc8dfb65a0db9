#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "CeTypes.h"

// The phone system's process services: the named mutex (one instance of a
// program per name), the last error, COM initialisation, memory status,
// optional vendor libraries, the idle timer, the device id and starting the
// browser.
namespace ce {

// A named mutex: a lock file per user and name (in $XDG_RUNTIME_DIR/jme,
// else /tmp/jme-<uid>), held with flock. When another holder (this process
// or another) has it, the handle holds nothing and GetLastError reports
// ERROR_ALREADY_EXISTS. The kernel releases the lock however the holder
// ends. Null (and an error) when the lock file cannot be opened.
HANDLE CreateMutexW(void* attributes, BOOL initialOwner, const char16_t* name);
// The calling thread's last error.
DWORD GetLastError();
void SetLastError(DWORD error);
// Closes a handle of CreateMutexW (releasing the lock it holds).
BOOL CloseHandle(HANDLE handle);

long CoInitializeEx(void* reserved, DWORD mode);
void CoUninitialize();

// The profile's memory status.
void GlobalMemoryStatus(MEMORYSTATUS* status);
void SystemIdleTimerReset();

// The profile's vendor libraries: a handle for a library the profile lists
// (by file name, without regard to ASCII case), null otherwise.
HMODULE LoadLibraryW(const char16_t* name);
void* GetProcAddressW(HMODULE module, const char16_t* name);
BOOL FreeLibrary(HMODULE module);

// The device's id for an application: 20 bytes that stay the same for this
// device and `applicationData` (the profile's bytes when it sets them).
// *size holds the buffer's size and receives the id's length. Error codes:
// ERROR_INVALID_PARAMETER for null arguments, ERROR_FILE_NOT_FOUND when the
// profile says the device has no id, ERROR_MORE_DATA when the buffer is too
// small (*size then holds the length needed).
long GetDeviceUniqueID(const BYTE* applicationData, DWORD dataLength, DWORD version, BYTE* out, DWORD* size);

// Starts the browser: the file "iexplore.exe" (any case) with the URL as
// parameters. The URL is handed to the desktop's opener (xdg-open) as its
// only argument, never through a shell; a URL that starts with '-' or holds
// control characters is refused, as is any other file. TRUE when started.
BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info);

}  // namespace ce

// What the rest of the stand-in needs of the process, and test seams.
class CeProcess {
 public:
  CeProcess() = delete;

  // Makes the main window of this process (class `className`) findable by
  // other processes of this user, which may ask it to come to the front:
  // such a request activates it (SetForegroundWindow) and raises the
  // backend's window.
  static void publishMainWindow(const std::u16string& className);
  // Whether another process of this user has published a main window of
  // that class.
  static bool mainWindowElsewhere(const std::u16string& className);
  // Asks that process's window to come to the front; true when asked.
  static bool askToFront(const std::u16string& className);
  // SIGTERM and SIGINT become WM_CLOSE to the main window (installed once).
  static void closeOnSignals();

  // How often the idle timer was reset.
  static uint64_t idleTimerResets();
  // Test seam: the opener of URLs (it sees the accepted URL in UTF-8 and
  // answers whether it started); an empty function restores xdg-open.
  static void setUrlOpener(std::function<bool(const std::string& url)> opener);
};
