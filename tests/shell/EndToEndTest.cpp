// The real program binary with a test MIDlet (jme_test_app), run headless
// as a child process: its lifecycle as the MIDlet sees it and its exit
// codes.
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <unistd.h>

#include "AppProcess.h"

namespace {

const std::string kTestApp = std::string(JME_BINARY_DIR) + "/jme_test_app";

std::string testProperties() {
  return "MIDlet-Name: e2e-" + std::to_string(getpid()) + "\nMIDlet-1: Test, /icon.png, shelltest.TestMIDlet\n";
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
