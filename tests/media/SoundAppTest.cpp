// The real program with a MIDlet that plays sounds (jme_sound_app), run
// headless as a child process: the sound goes to the silent real-time
// output, so a play takes the sound's own time, and pausing the
// application pauses its players.
#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

#include "AppProcess.h"

namespace {

const std::string kSoundApp = std::string(JME_BINARY_DIR) + "/jme_sound_app";

std::string properties() {
  return "MIDlet-Name: sound-" + std::to_string(getpid()) + "\nMIDlet-1: Sound, /icon.png, soundtest.SoundMIDlet\n";
}

// "played <ms>": a 300 ms tone takes about that long (less the one period
// the output mixes ahead), never much longer.
void expectPlayedInRealTime(AppProcess& app) {
  const std::string played = app.readLine();
  ASSERT_EQ(played.rfind("played ", 0), 0u) << played;
  const int ms = std::stoi(played.substr(7));
  EXPECT_GE(ms, 280);
  EXPECT_LT(ms, 2000);
}

TEST(SoundApp, MIDletPlaysAWaveInRealTimeAndPausingPausesItsPlayers) {
  AppProcess app(kSoundApp, properties());
  app.start();
  expectPlayedInRealTime(app);
  EXPECT_EQ(app.readLine(), "looping 400");  // still STARTED after a whole play
  app.send("pause");
  EXPECT_EQ(app.readLine(), "pauseApp 300");  // PREFETCHED: paused by the shell
  app.send("resume");
  EXPECT_EQ(app.readLine(), "startApp 300");
  app.send("close");
  EXPECT_EQ(app.readLine(), "destroyApp 0");
  EXPECT_EQ(app.wait(), 0);
}

TEST(SoundApp, PlaysThroughTheSdlWindowBackend) {
  AppProcess app(kSoundApp, properties());
  app.start(nullptr, true);
  expectPlayedInRealTime(app);
  EXPECT_EQ(app.readLine(), "looping 400");
  app.send("close");
  EXPECT_EQ(app.readLine(), "destroyApp 0");
  EXPECT_EQ(app.wait(), 0);
}

}  // namespace
