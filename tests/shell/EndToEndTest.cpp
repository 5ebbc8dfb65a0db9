// The real program binary with a test MIDlet (jme_test_app), run headless
// as a child process: its lifecycle as the MIDlet sees it and its exit
// codes.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

#include "AppProcess.h"

namespace {

const std::string kTestApp = std::string(JME_BINARY_DIR) + "/jme_test_app";

std::string testProperties() {
  return "MIDlet-Name: e2e-" + std::to_string(getpid()) + "\nMIDlet-1: Test, /icon.png, shelltest.TestMIDlet\n";
}

// Seconds of CPU time the process `pid` has used so far, all its threads
// together (user and system time from /proc), or -1 when unreadable.
double cpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t end = text.rfind(')');  // the command name may hold blanks
  if (end == std::string::npos) return -1;
  std::istringstream fields(text.substr(end + 2));
  std::string skip;
  for (int field = 3; field < 14; ++field) fields >> skip;  // state .. cmajflt
  long long user = 0;
  long long system = 0;
  if (!(fields >> user >> system)) return -1;
  return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// An application that has nothing to do waits for its next message instead
// of going round its loop: over 2 s idle it uses far less than 2 s of CPU
// (a busy loop uses all of it; other load on the machine only lowers the
// figure). Headless and in the SDL2 window under the dummy driver.
TEST(EndToEnd, AnIdleApplicationLeavesTheProcessorAlone) {
  for (const bool sdl : {false, true}) {
    AppProcess app(kTestApp, testProperties());
    app.start(nullptr, sdl);
    ASSERT_EQ(app.readLine(), "startApp") << sdl;
    const double before = cpuSeconds(app.pid());
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const double used = cpuSeconds(app.pid()) - before;
    ASSERT_GE(before, 0) << sdl;
    EXPECT_LT(used, 0.5) << (sdl ? "SDL2" : "headless");
    app.send("close");
    EXPECT_EQ(app.readLine(), "destroyApp true");
    EXPECT_EQ(app.wait(), 0);
  }
}

TEST(EndToEnd, StartPauseResumeCloseExitsWithZero) {
  AppProcess app(kTestApp, testProperties());
  app.start();
  EXPECT_EQ(app.readLine(), "startApp");
  app.send("pause");
  EXPECT_EQ(app.readLine(), "pauseApp");
  app.send("resume");
  EXPECT_EQ(app.readLine(), "startApp");
  app.send("power-off");
  EXPECT_EQ(app.readLine(), "pauseApp");
  app.send("power-on");
  EXPECT_EQ(app.readLine(), "startApp");
  app.send("close");
  EXPECT_EQ(app.readLine(), "destroyApp true");
  EXPECT_EQ(app.readLine(), "<eof>");
  EXPECT_EQ(app.wait(), 0);
}

TEST(EndToEnd, SDLWindowUnderTheDummyDriverRunsAndCloses) {
  AppProcess app(kTestApp, testProperties());
  app.start(nullptr, true);
  EXPECT_EQ(app.readLine(), "startApp");
  app.send("pause");
  EXPECT_EQ(app.readLine(), "pauseApp");
  app.send("resume");
  EXPECT_EQ(app.readLine(), "startApp");
  app.send("close");
  EXPECT_EQ(app.readLine(), "destroyApp true");
  EXPECT_EQ(app.wait(), 0);
}

TEST(EndToEnd, SignalClosesTheApplication) {
  AppProcess app(kTestApp, testProperties());
  app.start();
  EXPECT_EQ(app.readLine(), "startApp");
  kill(app.pid(), SIGTERM);
  EXPECT_EQ(app.readLine(), "destroyApp true");
  EXPECT_EQ(app.wait(), 0);
}

TEST(EndToEnd, NotifyDestroyedEndsWithoutDestroyApp) {
  AppProcess app(kTestApp, testProperties());
  app.start();
  EXPECT_EQ(app.readLine(), "startApp");
  app.send("notify-destroyed");
  EXPECT_EQ(app.readLine(), "<eof>");
  EXPECT_EQ(app.wait(), 0);
}

TEST(EndToEnd, SecondInstanceEndsWithOne) {
  AppProcess first(kTestApp, testProperties());
  AppProcess second(kTestApp, testProperties());
  first.start();
  EXPECT_EQ(first.readLine(), "startApp");
  first.send("pause");
  EXPECT_EQ(first.readLine(), "pauseApp");
  second.start();
  EXPECT_EQ(second.readLine(), "<eof>");
  EXPECT_EQ(second.wait(), 1);
  // The second brought the first to the front: it is active again.
  EXPECT_EQ(first.readLine(), "startApp");
  first.send("close");
  EXPECT_EQ(first.readLine(), "destroyApp true");
  EXPECT_EQ(first.wait(), 0);
}

TEST(EndToEnd, MissingMIDletEndsWithOne) {
  AppProcess noProperty(kTestApp, "MIDlet-Name: e2e-none-" + std::to_string(getpid()) + "\n");
  noProperty.start();
  EXPECT_EQ(noProperty.wait(), 1);
  AppProcess game(std::string(JME_BINARY_DIR) + "/jme", "MIDlet-Name: e2e-game-" + std::to_string(getpid()) +
                             "\nMIDlet-1: Game, /icon.png, main.CommonMIDlet\n");
  game.start();
  EXPECT_EQ(game.wait(), 1);  // the game's MIDlet class does not exist yet
}

}  // namespace
