// The application shell's whole run (start-up, message loop, exit sequence,
// shutdown) with fake VM callbacks: each script is a list of window
// messages posted while the fake VM starts; the run's events, its VM calls
// and its exit code are checked. Every run is a process of its own.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <string>
#include <unistd.h>
#include <vector>

#include "HALCallbacks.h"
#include "HALEvents.h"
#include "HALExitURL.h"
#include "HALShell.h"
#include "CePower.h"
#include "CeWindows.h"
#include "HALWindow.h"

using namespace ce;
#include "ShellTestSupport.h"

namespace {

struct Posted {
  uint32_t message;
  uintptr_t wParam;
};

std::vector<Posted> script;
// Posted from another thread 50 ms after start-up, when the loop has
// handled the first messages.
std::vector<Posted> later;
bool injectPower = false;
int initStatus = 0;
std::string calls;  // one letter per VM call: i(nit) c(ollect) d(estroy), events as digits

int fakeInitialize(uint64_t first, uint64_t second, HALThread*, const char* boot, int) {
  calls += "i";
  HAL_createEventRegistry();
  for (const Posted& p : script) HAL_postToMainWindow(p.message, p.wParam, 0);
  if (injectPower) {
    // The power source: off now, on again and a close 50 ms later.
    CePower::notify(false);
    std::thread([] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      CePower::notify(true);
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
      HAL_postToMainWindow(WM_CLOSE, 0, 0);
    }).detach();
  }
  if (!later.empty()) {
    std::thread([] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      for (const Posted& p : later) HAL_postToMainWindow(p.message, p.wParam, 0);
    }).detach();
  }
  return initStatus;
}
int fakeBroadcast(int type, int, const intptr_t*) {
  calls += std::to_string(type);
  return 0;
}
void fakeCollect() { calls += "c"; }
void fakeDestroy() {
  calls += "d";
  HAL_deleteEventRegistry();
}

// Runs the application in this (child) process and ends it with the run's
// exit code after writing the calls to standard error.
[[noreturn]] void runScript(const std::vector<Posted>& messages, const std::vector<Posted>& afterwards = {},
                            int status = 0) {
  ShellTestFolder::instance().use();
  script = messages;
  later = afterwards;
  initStatus = status;
  VMCallbacks table{fakeInitialize, fakeBroadcast, nullptr, nullptr, fakeCollect, fakeDestroy};
  HAL_setVMCallbacks(&table);
  const int code = HAL_runApplication(nullptr, 1);
  std::fprintf(stderr, "calls: %s.\n", calls.c_str());
  std::fflush(stderr);
  _exit(code);
}

constexpr uintptr_t kActive = 1;
constexpr uintptr_t kInactive = 0;

struct ScriptCase {
  const char* name;
  std::vector<Posted> messages;
  std::vector<Posted> later;
  const char* calls;
  int exitCode;
};

TEST(ShellScriptDeathTest, MessagesBecomeEventsAndExitCodes) {
  ShellTestFolder::instance();
  const ScriptCase cases[] = {
      {"close", {{WM_CLOSE, 0}}, {}, "ic3d", 0},
      {"exit message", {{HAL_MSG_EXIT, 0}}, {}, "ic3d", 0},
      {"close twice and exit", {{WM_CLOSE, 0}, {WM_CLOSE, 0}, {HAL_MSG_EXIT, 0}}, {}, "ic3d", 0},
      {"power off and on",
       {{HAL_MSG_POWER, 0}, {HAL_MSG_POWER, 0}, {HAL_MSG_POWER, 1}, {HAL_MSG_POWER, 1}, {WM_CLOSE, 0}}, {},
       "ic123d", 0},
      {"deactivate and activate", {{WM_ACTIVATE, kInactive}, {WM_ACTIVATE, kActive}, {WM_CLOSE, 0}}, {}, "ic123d",
       0},
      // Queued behind the deactivation, the close is drained in the same
      // active pass; the quit message then ends the loop with its code.
      {"deactivate then close at once", {{WM_ACTIVATE, kInactive}, {WM_CLOSE, 0}}, {}, "ic13d", 0},
      // The loop waits inactive: it ends when the queue yields the quit.
      {"close while inactive", {{WM_ACTIVATE, kInactive}}, {{WM_CLOSE, 0}}, "ic13d", 1},
      {"power off, later on", {{HAL_MSG_POWER, 0}}, {{HAL_MSG_POWER, 1}, {WM_CLOSE, 0}}, "ic123d", 0},
      {"keys after close reach nobody", {{WM_CLOSE, 0}, {WM_KEYDOWN, 38}, {WM_KEYUP, 38}}, {}, "ic3d", 0},
      {"collect message", {{HAL_MSG_COLLECT, 0}, {WM_CLOSE, 0}}, {}, "icc3d", 0},
      {"collect after close", {{WM_CLOSE, 0}}, {{HAL_MSG_COLLECT, 0}}, "ic3d", 0},
  };
  for (const ScriptCase& c : cases) {
    const std::string calls = std::string("calls: ") + c.calls + "\\.";
    EXPECT_EXIT(runScript(c.messages, c.later), testing::ExitedWithCode(c.exitCode), calls) << c.name;
  }
}

TEST(ShellScriptDeathTest, PowerNotificationsReachTheLoop) {
  ShellTestFolder::instance();
  EXPECT_EXIT(
      {
        injectPower = true;
        runScript({});
      },
      testing::ExitedWithCode(0), "calls: ic123d\\.");
}

TEST(ShellScriptDeathTest, PlatformRequestOpensAfterTheWindowAndTheVMAreGone) {
  ShellTestFolder::instance();
  EXPECT_EXIT(
      {
        HAL_setBrowserLauncher([](const char* url) {
          calls += std::string("[open ") + url + (IsWindowVisible(HAL_getMainWindow()) ? " with window]" : "]");
          return true;
        });
        uint8_t mustExit = 0;
        HAL_openURL(u"tel:123", 7, &mustExit);
        runScript({{WM_CLOSE, 0}});
      },
      testing::ExitedWithCode(0), "calls: ic3d\\[open tel:123\\]\\.");
}

TEST(ShellScriptDeathTest, FailedVMStartsAreFatal) {
  ShellTestFolder::instance();
  for (int status : {1, 2, 7}) {
    EXPECT_EXIT(runScript({}, {}, status), testing::ExitedWithCode(1), "") << status;
  }
}

TEST(Shell, HeapSizesAreATenthAndTheRest) {
  uint64_t first = 0, second = 0;
  HAL_getHeapSizes(40ull << 20, &first, &second);
  EXPECT_EQ(first, 4ull << 20);
  EXPECT_EQ(second, 36ull << 20);
  HAL_getHeapSizes(19, &first, &second);
  EXPECT_EQ(first, 1u);
  EXPECT_EQ(second, 18u);
}

}  // namespace
