#include <gtest/gtest.h>

#include <cstdlib>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "CeAudioOutput.h"
#include "HALPlayer.h"
#include "SoundFixtures.h"

namespace {

// Players are opened, started, paused and closed while the silent output's
// own thread mixes them and a second thread pauses every player, as the
// shell does; sounds end on the audio thread in the middle of all this.
TEST(PlayerThreads, CloseDuringPlaybackOnTheRealTimeOutput) {
  ASSERT_TRUE(CeAudioOutput::select(CeAudioOutput::Kind::silent, 8000));
  const std::vector<uint8_t> wave = makeWave16(1, 8000, ramp(40));  // 5 ms
  const std::vector<uint8_t> midi = makeMidi({0x00, 0x90, 0x45, 0x7F, 0x05, 0x90, 0x45, 0x00});
  std::atomic<bool> stop{false};
  std::thread shell([&] {
    while (!stop) {
      HAL_pauseAllPlayers();
      std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
  });
  for (int i = 0; i < 60; ++i) {
    const std::vector<uint8_t>& file = i % 3 == 0 ? midi : wave;
    HALPlayer* player = nullptr;
    ASSERT_EQ(HAL_createPlayerWithData(&player, file.data(), static_cast<int32_t>(file.size()),
                                       i % 3 == 0 ? HAL_CONTENT_MIDI : HAL_CONTENT_WAV, i % 2 == 0 ? -1 : 0),
              HAL_OK);
    ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
    std::this_thread::sleep_for(std::chrono::microseconds(200 * (i % 7)));
    int64_t time = 0;
    EXPECT_EQ(HAL_getPlayerMediaTime(player, &time), HAL_OK);
    EXPECT_GE(time, 0);
    ASSERT_EQ(HAL_closePlayer(player), HAL_OK);
  }
  stop = true;
  shell.join();
  EXPECT_EQ(CeAudioOutput::kind(), CeAudioOutput::Kind::silent);
  EXPECT_EQ(HAL_countPlayers(), 0);
}

// The real-time output keeps time: a 100 ms sound ends after about 100 ms.
TEST(PlayerThreads, SilentOutputPlaysInRealTime) {
  ASSERT_TRUE(CeAudioOutput::select(CeAudioOutput::Kind::silent, 44100));
  const std::vector<uint8_t> wave = makeWave16(1, 44100, std::vector<int16_t>(4410, 1));
  HALPlayer* player = nullptr;
  ASSERT_EQ(HAL_createPlayerWithData(&player, wave.data(), static_cast<int32_t>(wave.size()), HAL_CONTENT_WAV, 0),
            HAL_OK);
  const auto begin = std::chrono::steady_clock::now();
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
  while (HAL_playerStateWord(player) == HAL_PLAYER_PLAYING) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const auto elapsed = std::chrono::steady_clock::now() - begin;
  EXPECT_EQ(HAL_playerStateWord(player), HAL_PLAYER_ENDED);
  // At least the sound's length less the one period the output mixes
  // ahead (11.6 ms); the upper bound only guards against a stalled output.
  EXPECT_GE(elapsed, std::chrono::milliseconds(88));
  EXPECT_LT(elapsed, std::chrono::seconds(5));
  EXPECT_EQ(HAL_closePlayer(player), HAL_OK);
}

}  // namespace

namespace {

// The SDL2 output, on SDL's dummy audio driver (no sound card needed):
// the sound is pulled by SDL's audio thread and ends in real time.
TEST(PlayerThreads, SdlOutputPlaysThroughSdlAudio) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_TRUE(CeAudioOutput::select(CeAudioOutput::Kind::sdl, 44100));
  const std::vector<uint8_t> wave = makeWave16(2, 44100, std::vector<int16_t>(2 * 4410, 1000));
  HALPlayer* player = nullptr;
  ASSERT_EQ(HAL_createPlayerWithData(&player, wave.data(), static_cast<int32_t>(wave.size()), HAL_CONTENT_WAV, 0),
            HAL_OK);
  EXPECT_EQ(CeAudioOutput::kind(), CeAudioOutput::Kind::sdl);
  const auto begin = std::chrono::steady_clock::now();
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
  while (HAL_playerStateWord(player) == HAL_PLAYER_PLAYING &&
         std::chrono::steady_clock::now() - begin < std::chrono::seconds(5)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(HAL_playerStateWord(player), HAL_PLAYER_ENDED);
  EXPECT_GE(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(50));
  EXPECT_EQ(HAL_closePlayer(player), HAL_OK);
}

// Without a usable sound card the automatic choice falls back to the silent
// output. The first player is opened on a thread that then ends, as the
// game's canvas thread does at exit: SDL's message about the failed open
// must not stay behind with that thread (LeakSanitizer reports it in the
// sanitizer build).
TEST(PlayerThreads, AnOutputThatCannotOpenFallsBackToSilenceFromAnEndingThread) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  ASSERT_TRUE(CeAudioOutput::select(CeAudioOutput::Kind::automatic, 8000));
  const std::vector<uint8_t> wave = makeWave16(1, 8000, ramp(40));
  HALPlayer* player = nullptr;
  std::thread opener([&] {
    EXPECT_EQ(HAL_createPlayerWithData(&player, wave.data(), static_cast<int32_t>(wave.size()), HAL_CONTENT_WAV, 0),
              HAL_OK);
  });
  opener.join();
  EXPECT_EQ(CeAudioOutput::kind(), CeAudioOutput::Kind::silent);
  ASSERT_NE(player, nullptr);
  EXPECT_EQ(HAL_closePlayer(player), HAL_OK);
}

}  // namespace
