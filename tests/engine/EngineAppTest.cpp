// The real program binary with an engine canvas MIDlet (jme_engine_app),
// run as a child process headless and in the SDL2 window under SDL's dummy
// driver: the canvas ticks, pauses and resumes with the window's focus,
// quits with exit code 0, ends
// promptly on close, and ends with 1 when its tick throws.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "AppProcess.h"

namespace {

// A canvas thread that outlived the exit would keep the shutdown waiting
// 500 ms for it before cancelling it. Sanitizer builds end processes more
// slowly (ThreadSanitizer alone sleeps a second at the exit).
#ifdef JME_SANITIZED
constexpr int kPromptExitMs = 3000;
#else
constexpr int kPromptExitMs = 500;
#endif

const std::string kEngineApp = std::string(JME_BINARY_DIR) + "/jme_engine_app";

class EngineRun {
 public:
  explicit EngineRun(bool sdl)
      : app_(kEngineApp, "MIDlet-Name: engine-" + std::to_string(getpid()) +
                             "\nMIDlet-1: Engine, /icon.png, engineapp.EngineMIDlet\n") {
    app_.start(nullptr, sdl);
  }
  AppProcess& app() { return app_; }
  // Reads lines until `line`; false at a time-out or the end.
  bool expect(const std::string& line) {
    for (;;) {
      const std::string got = app_.readLine();
      if (got == line) return true;
      if (got == "<timeout>" || got == "<eof>") {
        ADD_FAILURE() << "no \"" << line << "\" (" << got << ")";
        return false;
      }
      seen_ += got + "\n";
    }
  }
  // Waits for the start: event 0 and the first tick.
  bool started() { return expect("startApp") && expect("event 0") && expect("tick"); }
  const std::string& seen() const { return seen_; }

 private:
  AppProcess app_;
  std::string seen_;
};

void ticksPausesResumesAndQuits(bool sdl) {
  EngineRun run(sdl);
  ASSERT_TRUE(run.started());
  run.app().send("pause");
  ASSERT_TRUE(run.expect("event 1"));
  run.app().send("resume");
  ASSERT_TRUE(run.expect("event 2"));
  ASSERT_TRUE(run.expect("event 5"));
  ASSERT_TRUE(run.expect("tick"));
  run.app().send("quit");
  ASSERT_TRUE(run.expect("event 3"));
  EXPECT_EQ(run.app().wait(), 0);
}

TEST(EngineApp, TicksPausesResumesAndQuitsHeadless) { ticksPausesResumesAndQuits(false); }

TEST(EngineApp, TicksPausesResumesAndQuitsInTheSDLWindow) { ticksPausesResumesAndQuits(true); }

// destroyApp quits the canvas, so its thread ends at once: the shutdown
// need not wait for it and cancel it.
TEST(EngineApp, CloseEndsPromptly) {
  EngineRun run(false);
  ASSERT_TRUE(run.started());
  run.app().send("close");
  ASSERT_TRUE(run.expect("destroyApp"));
  ASSERT_TRUE(run.expect("event 3"));
  EXPECT_EQ(run.app().wait(kPromptExitMs), 0);
}

TEST(EngineApp, AnExceptionFromTickEndsTheProgramWithOne) {
  EngineRun run(false);
  ASSERT_TRUE(run.started());
  run.app().send("throw");
  std::string line;
  do {
    line = run.app().readLine();
  } while (line.rfind("Exception in thread", 0) != 0 && line != "<timeout>" && line != "<eof>");
  EXPECT_NE(line.find("RuntimeException: tick failed on purpose"), std::string::npos) << line;
  ASSERT_TRUE(run.expect("event 3"));
  EXPECT_EQ(run.app().wait(), 1);
}

}  // namespace
