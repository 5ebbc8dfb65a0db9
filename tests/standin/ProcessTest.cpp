// Process services: the single-instance lock and the front request across
// processes, signals to close, the browser start, the device id, memory and
// vendor libraries.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "CeHeadlessBackend.h"
#include "CeText.h"
#include "DeviceProfile.h"
#include "StandInTestSupport.h"

using namespace ce;

namespace {

std::u16string unique(const char* prefix) {
  const std::string text = std::string(prefix) + std::to_string(getpid());
  return std::u16string(text.begin(), text.end());
}

// Runs `child` in a forked process, which writes one byte to `ready` when
// it is set up; returns the child's pid after that byte came.
template <typename F>
pid_t forkReady(F child) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    close(pipeFds[0]);
    _exit(child(pipeFds[1]));
  }
  close(pipeFds[1]);
  char byte = 0;
  const bool ready = read(pipeFds[0], &byte, 1) == 1;
  close(pipeFds[0]);
  return ready ? pid : -1;
}

int exitCode(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(Process, TheNamedLockHasOneHolderUntilItEndsHoweverItEnds) {
  const std::u16string name = u"Local\\" + unique("lock-");
  // In one process: a second holder is told the lock exists.
  HANDLE first = CreateMutexW(nullptr, FALSE, name.c_str());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), 0u);
  HANDLE second = CreateMutexW(nullptr, FALSE, name.c_str());
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  CloseHandle(second);
  CloseHandle(first);

  // Across processes: the holder is killed; the kernel lets go of the lock.
  const pid_t holder = forkReady([&](int ready) {
    HANDLE lock = CreateMutexW(nullptr, FALSE, name.c_str());
    const char byte = GetLastError() == 0 ? 1 : 0;
    if (!lock || write(ready, &byte, 1) != 1) return 1;
    pause();
    return 0;
  });
  ASSERT_GT(holder, 0);
  HANDLE refused = CreateMutexW(nullptr, FALSE, name.c_str());
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  CloseHandle(refused);
  kill(holder, SIGKILL);
  EXPECT_EQ(exitCode(holder), 128 + SIGKILL);
  HANDLE mine = CreateMutexW(nullptr, FALSE, name.c_str());
  EXPECT_EQ(GetLastError(), 0u);
  CloseHandle(mine);
  // Names of any text make lock files of safe names.
  HANDLE odd = CreateMutexW(nullptr, FALSE, u"../..\\/:*?\x00e9\x4e2d");
  EXPECT_NE(odd, nullptr);
  CloseHandle(odd);
}

// The folder of the lock files: a released lock leaves no file of its
// name behind.
bool lockFileExists(const std::string& id) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::filesystem::path folder = runtime && runtime[0] == '/'
                                           ? std::filesystem::path(runtime) / "jme"
                                           : std::filesystem::path("/tmp/jme-" + std::to_string(getuid()));
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.path().filename().string().find(id) != std::string::npos) return true;
  }
  return false;
}

// Threads take and let go of one name as fast as they can: never two hold
// it at once (a lock taken on a file that its last holder had just removed
// would be a second holder), and nothing is left once all have let go.
TEST(Process, TheNamedLockStaysSingleWhileHoldersComeAndGo) {
  const std::string id = "churn-" + std::to_string(getpid());
  const std::u16string name = u"Local\\" + std::u16string(id.begin(), id.end());
  std::atomic<int> holders{0}, most{0}, taken{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 2000; ++i) {
        HANDLE lock = CreateMutexW(nullptr, FALSE, name.c_str());
        const bool mine = lock != nullptr && GetLastError() == 0;
        if (mine) {
          const int now = ++holders;
          int seen = most.load();
          while (now > seen && !most.compare_exchange_weak(seen, now)) {
          }
          ++taken;
          --holders;
        }
        if (lock) CloseHandle(lock);
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(most.load(), 1);
  EXPECT_GT(taken.load(), 0);
  EXPECT_FALSE(lockFileExists(id));
}

TEST(Process, ASecondInstanceBringsTheFirstToTheFront) {
  const std::u16string className = unique("front-");
  const pid_t first = forkReady([&](int ready) {
    resetStandIn();
    HWND window = RecordingWindows::create(className.c_str());
    CeHeadlessBackend::activate(false);  // another program is in front
    drain();
    RecordingWindows::clear();
    const char byte = 1;
    if (write(ready, &byte, 1) != 1) return 2;
    SetTimer(window, 1, 10000, nullptr);  // gives up after ten seconds
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0)) {
      if (msg.message == WM_TIMER) return 3;
      if (msg.message == WM_ACTIVATE && msg.wParam == WA_ACTIVE) {
        return CeHeadlessBackend::instance().raiseCount() == 1 ? 0 : 4;
      }
    }
    return 5;
  });
  ASSERT_GT(first, 0);
  HWND other = FindWindowW(className.c_str(), nullptr);
  ASSERT_NE(other, nullptr);
  EXPECT_FALSE(IsWindow(other));  // not a window of this process
  EXPECT_TRUE(IsWindowEnabled(other));
  EXPECT_TRUE(SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(other) | 1)));
  EXPECT_TRUE(ShowWindow(other, SW_RESTORE));
  EXPECT_EQ(exitCode(first), 0);
  // Gone, it is found no more.
  EXPECT_FALSE(IsWindowEnabled(other));
  EXPECT_EQ(FindWindowW(className.c_str(), nullptr), nullptr);
  EXPECT_FALSE(SetForegroundWindow(other));
}

TEST(Process, TerminationSignalsCloseTheMainWindow) {
  for (int signal : {SIGTERM, SIGINT}) {
    resetStandIn();
    HWND main = RecordingWindows::create(unique(signal == SIGTERM ? "term-" : "int-").c_str());
    drain();
    RecordingWindows::clear();
    raise(signal);
    MSG msg{};
    ASSERT_TRUE(GetMessageW(&msg, nullptr, WM_CLOSE, WM_CLOSE));
    EXPECT_EQ(msg.hwnd, main);
  }
}

TEST(Process, TheBrowserGetsSafeURLsAsItsOnlyArgument) {
  std::vector<std::string> opened;
  CeProcess::setUrlOpener([&](const std::string& url) {
    opened.push_back(url);
    return true;
  });
  const struct {
    const char16_t* file;
    const char16_t* url;
    bool started;
  } cases[] = {
      {u"iexplore.exe", u"http://example.com/a?b=c d", true},
      {u"IEXPLORE.EXE", u"https://\x00e9t\x00e9.example/", true},
      {u"iexplore.exe", u"-e rm -rf", false},
      {u"iexplore.exe", u"http://x/\nline", false},
      {u"iexplore.exe", u"http://x/\x007f", false},
      {u"iexplore.exe", u"", false},
      {u"cmd.exe", u"http://example.com/", false},
      {nullptr, u"http://example.com/", false},
  };
  for (const auto& c : cases) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = 60;
    info.lpFile = c.file;
    info.lpParameters = c.url;
    info.nShow = SW_SHOWNORMAL;
    EXPECT_EQ(ShellExecuteExW(&info), c.started ? TRUE : FALSE) << CeText::toUTF8(c.url);
  }
  EXPECT_FALSE(ShellExecuteExW(nullptr));
  EXPECT_EQ(opened, (std::vector<std::string>{"http://example.com/a?b=c d", "https://\xc3\xa9t\xc3\xa9.example/"}));
  CeProcess::setUrlOpener(nullptr);
}

TEST(Process, DeviceIdMemoryAndVendorLibrariesComeFromTheProfile) {
  DeviceProfile::instance().loadDefaults();
  const BYTE app[] = "PebX_ZWQR";
  BYTE id[20], again[20], other[20];
  DWORD size = sizeof id;
  ASSERT_EQ(GetDeviceUniqueID(app, 9, 1, id, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 20u);
  ASSERT_EQ(GetDeviceUniqueID(app, 9, 1, again, &size), ERROR_SUCCESS);
  EXPECT_EQ(std::vector<BYTE>(id, id + 20), std::vector<BYTE>(again, again + 20));
  ASSERT_EQ(GetDeviceUniqueID(app, 8, 1, other, &size), ERROR_SUCCESS);
  EXPECT_NE(std::vector<BYTE>(id, id + 20), std::vector<BYTE>(other, other + 20));  // per application
  size = 19;
  EXPECT_EQ(GetDeviceUniqueID(app, 9, 1, id, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 20u);
  EXPECT_EQ(GetDeviceUniqueID(nullptr, 9, 1, id, &size), ERROR_INVALID_PARAMETER);
  DeviceProfile::instance().updateFacts([](DeviceProfile::Facts& f) { f.uniqueId = std::nullopt; });
  EXPECT_EQ(GetDeviceUniqueID(app, 9, 1, id, &size), ERROR_FILE_NOT_FOUND);

  MEMORYSTATUS memory{};
  GlobalMemoryStatus(&memory);
  EXPECT_EQ(memory.dwAvailPhys, 64ull << 20);
  EXPECT_EQ(memory.dwMemoryLoad, 50u);
  DeviceProfile::instance().updateFacts([](DeviceProfile::Facts& f) { f.memory.availablePhysical = 1 << 20; });
  GlobalMemoryStatus(&memory);
  EXPECT_EQ(memory.dwAvailPhys, 1u << 20);

  EXPECT_EQ(LoadLibraryW(u"HTCSensorSDK.dll"), nullptr);  // none by default
  static int sensor = 7;
  DeviceProfile::instance().updateFacts([](DeviceProfile::Facts& f) {
    f.vendorLibraries[u"HTCSensorSDK.dll"].functions[u"HTCSensorOpen"] = &sensor;
  });
  HMODULE library = LoadLibraryW(u"htcsensorsdk.DLL");
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(GetProcAddressW(library, u"HTCSensorOpen"), &sensor);
  EXPECT_EQ(GetProcAddressW(library, u"Missing"), nullptr);
  EXPECT_EQ(GetProcAddressW(nullptr, u"HTCSensorOpen"), nullptr);
  EXPECT_TRUE(FreeLibrary(library));
}

}  // namespace
