#include "CeProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <mutex>
#include <thread>

#include "CeBackend.h"
#include "CeText.h"
#include "CeWindowManager.h"
#include "DeviceProfile.h"

extern char** environ;

using namespace ce;

namespace {

thread_local DWORD lastError = 0;
std::atomic<uint64_t> idleResets{0};

// A name as a file-name-safe ASCII text: letters, digits, '.', '_' and '-'
// stay, every other unit becomes '%' and four hexadecimal digits. Long
// names keep their start and a hash of the whole.
std::string safeName(const std::u16string& name) {
  std::string text;
  for (char16_t unit : name) {
    const bool plain = (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') ||
                       (unit >= u'0' && unit <= u'9') || unit == u'.' || unit == u'_' || unit == u'-';
    if (plain) {
      text += static_cast<char>(unit);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "%%%04X", static_cast<unsigned>(unit));
      text += escaped;
    }
  }
  if (text.size() > 80) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
    char tail[24];
    std::snprintf(tail, sizeof tail, "#%016llx", static_cast<unsigned long long>(h));
    text = text.substr(0, 60) + tail;
  }
  // "." and ".." are not names of files.
  if (text.empty() || text == "." || text == "..") text = "%" + text;
  return text;
}

// The folder of this user's lock files, made when missing; empty when no
// safe folder can be had (a real folder, owned by this user, that no one
// else may write into).
std::string lockFolder() {
  std::string folder;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/') {
    folder = std::string(runtime) + "/jme";
  } else {
    folder = "/tmp/jme-" + std::to_string(getuid());
  }
  mkdir(folder.c_str(), 0700);
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid() ||
      (info.st_mode & (S_IWGRP | S_IWOTH))) {
    return {};
  }
  return folder;
}

// Handles of CreateMutexW: a held lock is its file descriptor plus one; a
// lock held elsewhere is the address of kHeldElsewhere. Only handles made
// here are closed. Each held lock keeps the path of its file, which is
// removed when the lock is let go.
const char kHeldElsewhere = 0;
std::mutex handlesMutex;
std::map<int, std::string>& heldLocks() {
  static auto* held = new std::map<int, std::string>();
  return *held;
}

// True when `fd` is still the file at `path`: a holder letting go removes
// the file, so a lock taken on a file opened just before that removal is a
// lock no one else can see.
bool stillNamed(int fd, const std::string& path) {
  struct stat opened {}, named {};
  return fstat(fd, &opened) == 0 && stat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

// The abstract socket address of a published main window.
socklen_t windowAddress(const std::u16string& className, sockaddr_un& address) {
  const std::string text = "jme-" + std::to_string(getuid()) + "-window-" + safeName(className);
  address = sockaddr_un{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path + 1, text.data(), text.size());
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + text.size());
}

// A connection to the published window of that class, checked to belong to
// this user; -1 when there is none.
int connectToWindow(const std::u16string& className) {
  sockaddr_un address;
  const socklen_t length = windowAddress(className, address);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  ucred peer{};
  socklen_t peerLength = sizeof peer;
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
      getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &peerLength) != 0 || peer.uid != getuid()) {
    close(fd);
    return -1;
  }
  return fd;
}

constexpr char kFrontRequest = 'F';

// Serves the published window: a connection that sends the front request
// activates the main window; one that sends nothing within a second (a
// probe) is dropped.
void serveFrontRequests(int listener) {
  for (;;) {
    const int connection = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;
    }
    pollfd wait{connection, POLLIN, 0};
    char request = 0;
    if (poll(&wait, 1, 1000) == 1 && read(connection, &request, 1) == 1 && request == kFrontRequest) {
      if (HWND main = CeWindowManager::mainWindow()) {
        CeBackend::current().raise();
        ShowWindow(main, SW_RESTORE);
        CeWindowManager::backendActivated(true, false);
      }
    }
    close(connection);
  }
}

// SIGTERM and SIGINT: a handler may not take locks, so it writes a byte to
// a pipe whose reader thread posts the close message.
int signalPipe[2] = {-1, -1};

void onSignal(int) {
  const int saved = errno;
  const char byte = 1;
  if (write(signalPipe[1], &byte, 1) < 0) {
    // The pipe is full: a close is already on its way.
  }
  errno = saved;
}

void postCloseOnSignals() {
  char byte;
  for (;;) {
    const ssize_t n = read(signalPipe[0], &byte, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    if (HWND main = CeWindowManager::mainWindow()) PostMessageW(main, WM_CLOSE, 0, 0);
  }
}

std::mutex openerMutex;
std::function<bool(const std::string&)> urlOpener;

bool openWithDesktop(const std::string& url) {
  char program[] = "xdg-open";
  char* argv[] = {program, const_cast<char*>(url.c_str()), nullptr};
  pid_t child;
  return posix_spawnp(&child, program, nullptr, nullptr, argv, environ) == 0;
}

bool sameIgnoringCase(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Loaded vendor libraries: a record per name, kept for the process's life.
struct Module {
  std::u16string name;
};
std::mutex modulesMutex;
std::map<std::u16string, Module*>& modules() {
  static auto* loaded = new std::map<std::u16string, Module*>();
  return *loaded;
}

}  // namespace

namespace ce {

HANDLE CreateMutexW(void*, BOOL, const char16_t* name) {
  lastError = 0;
  const std::string folder = lockFolder();
  if (folder.empty()) {
    lastError = ERROR_INVALID_PARAMETER;
    return nullptr;
  }
  const std::string path = folder + "/" + safeName(name ? name : u"") + ".lock";
  for (;;) {
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
      lastError = ERROR_FILE_NOT_FOUND;
      return nullptr;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      close(fd);
      lastError = ERROR_ALREADY_EXISTS;
      return const_cast<char*>(&kHeldElsewhere);
    }
    if (!stillNamed(fd, path)) {
      close(fd);  // the holder let go and removed it meanwhile: open afresh
      continue;
    }
    std::lock_guard<std::mutex> lock(handlesMutex);
    heldLocks()[fd] = path;
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd) + 1);
  }
}

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD error) { lastError = error; }

BOOL CloseHandle(HANDLE handle) {
  if (handle == &kHeldElsewhere) return TRUE;
  const intptr_t value = reinterpret_cast<intptr_t>(handle) - 1;
  std::lock_guard<std::mutex> lock(handlesMutex);
  const auto held = value < 0 || value > INT32_MAX ? heldLocks().end() : heldLocks().find(static_cast<int>(value));
  if (held == heldLocks().end()) {
    lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  // Removed while still locked, so whoever opened the file before this
  // sees, once it has the lock, that the name has gone and opens afresh.
  unlink(held->second.c_str());
  close(held->first);
  heldLocks().erase(held);
  return TRUE;
}

long CoInitializeEx(void*, DWORD) { return 0; }
void CoUninitialize() {}

void GlobalMemoryStatus(MEMORYSTATUS* status) {
  if (!status) return;
  const DeviceProfile::MemoryStatus memory = DeviceProfile::instance().facts().memory;
  status->dwLength = sizeof *status;
  status->dwTotalPhys = memory.totalPhysical;
  status->dwAvailPhys = memory.availablePhysical;
  status->dwTotalVirtual = memory.totalVirtual;
  status->dwAvailVirtual = memory.availableVirtual;
  status->dwTotalPageFile = status->dwAvailPageFile = 0;
  status->dwMemoryLoad = memory.totalPhysical
                             ? static_cast<DWORD>(100 - std::min<uint64_t>(100, memory.availablePhysical * 100 /
                                                                                    memory.totalPhysical))
                             : 0;
}

void SystemIdleTimerReset() { idleResets.fetch_add(1); }

HMODULE LoadLibraryW(const char16_t* name) {
  if (!name) return nullptr;
  const DeviceProfile::Facts facts = DeviceProfile::instance().facts();
  for (const auto& [file, library] : facts.vendorLibraries) {
    if (!sameIgnoringCase(file, name)) continue;
    std::lock_guard<std::mutex> lock(modulesMutex);
    Module*& module = modules()[file];
    if (!module) module = new Module{file};
    return module;
  }
  lastError = ERROR_FILE_NOT_FOUND;
  return nullptr;
}

void* GetProcAddressW(HMODULE handle, const char16_t* name) {
  if (!handle || !name) return nullptr;
  std::u16string file;
  {
    std::lock_guard<std::mutex> lock(modulesMutex);
    for (const auto& [key, module] : modules()) {
      if (module == handle) file = key;
    }
  }
  if (file.empty()) return nullptr;
  const DeviceProfile::Facts facts = DeviceProfile::instance().facts();
  const auto library = facts.vendorLibraries.find(file);
  if (library == facts.vendorLibraries.end()) return nullptr;
  const auto function = library->second.functions.find(name);
  return function == library->second.functions.end() ? nullptr : function->second;
}

BOOL FreeLibrary(HMODULE handle) { return handle ? TRUE : FALSE; }

long GetDeviceUniqueID(const BYTE* applicationData, DWORD dataLength, DWORD, BYTE* out, DWORD* size) {
  if (!applicationData || !out || !size) return ERROR_INVALID_PARAMETER;
  const auto fact = DeviceProfile::instance().facts().uniqueId;
  if (!fact) return ERROR_FILE_NOT_FOUND;
  std::vector<uint8_t> id = *fact;
  if (id.empty()) {
    // The FNV-1a hash of the host's machine id and the application's data,
    // taken five times with different seeds: 20 bytes.
    std::string machine;
    std::ifstream("/etc/machine-id") >> machine;
    if (machine.empty()) machine = "no-machine-id";
    std::string text = machine;
    text.append(reinterpret_cast<const char*>(applicationData), dataLength);
    for (uint32_t seed = 0; seed < 5; ++seed) {
      uint32_t h = 2166136261u ^ seed;
      for (unsigned char c : text) h = (h ^ c) * 16777619u;
      for (int k = 0; k < 4; ++k) id.push_back(static_cast<uint8_t>(h >> (8 * k)));
    }
  }
  if (*size < id.size()) {
    *size = static_cast<DWORD>(id.size());
    return ERROR_MORE_DATA;
  }
  std::memcpy(out, id.data(), id.size());
  *size = static_cast<DWORD>(id.size());
  return ERROR_SUCCESS;
}

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) {
  if (!info || !info->lpFile || !info->lpParameters || !sameIgnoringCase(info->lpFile, u"iexplore.exe")) {
    lastError = ERROR_FILE_NOT_FOUND;
    return FALSE;
  }
  const std::string url = CeText::toUTF8(info->lpParameters);
  bool refused = url.empty() || url[0] == '-';
  for (unsigned char c : url) refused = refused || c < 0x20 || c == 0x7F;
  if (refused) {
    lastError = ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  std::function<bool(const std::string&)> opener;
  {
    std::lock_guard<std::mutex> lock(openerMutex);
    opener = urlOpener;
  }
  return (opener ? opener(url) : openWithDesktop(url)) ? TRUE : FALSE;
}

}  // namespace ce

void CeProcess::publishMainWindow(const std::u16string& className) {
  sockaddr_un address;
  const socklen_t length = windowAddress(className, address);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return;
  // Binding fails while another process publishes the same class: that
  // one stays the one found.
  if (bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0 || listen(fd, 4) != 0) {
    close(fd);
    return;
  }
  std::thread(serveFrontRequests, fd).detach();
}

bool CeProcess::mainWindowElsewhere(const std::u16string& className) {
  const int fd = connectToWindow(className);
  if (fd < 0) return false;
  close(fd);
  return true;
}

bool CeProcess::askToFront(const std::u16string& className) {
  const int fd = connectToWindow(className);
  if (fd < 0) return false;
  const bool sent = write(fd, &kFrontRequest, 1) == 1;
  close(fd);
  return sent;
}

void CeProcess::closeOnSignals() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    // The reader blocks; only the writer's end must never block.
    fcntl(signalPipe[0], F_SETFL, fcntl(signalPipe[0], F_GETFL) & ~O_NONBLOCK);
    std::thread(postCloseOnSignals).detach();
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
  });
}

uint64_t CeProcess::idleTimerResets() { return idleResets.load(); }

void CeProcess::setUrlOpener(std::function<bool(const std::string& url)> opener) {
  std::lock_guard<std::mutex> lock(openerMutex);
  urlOpener = std::move(opener);
}
