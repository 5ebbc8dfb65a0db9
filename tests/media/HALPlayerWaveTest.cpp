#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CeWaveOut.h"
#include "HALPlayer.h"
#include "HALWaveFile.h"
#include "SoundFixtures.h"

namespace {

constexpr int32_t kRate = 8000;

// A player over a 16-bit mono ramp at the output's rate, so each output
// frame is one sample of the file.
class WavePlayer : public ::testing::Test {
 protected:
  void SetUp() override { usePumpedOutput(kRate); }
  void TearDown() override {
    if (player != nullptr) {
      EXPECT_EQ(HAL_closePlayer(player), HAL_OK);
    }
  }
  void open(const std::vector<uint8_t>& file, int32_t loop = 0) {
    ASSERT_EQ(HAL_createPlayerWithData(&player, file.data(), static_cast<int32_t>(file.size()), HAL_CONTENT_WAV, loop),
              HAL_OK);
  }
  int64_t mediaTime() {
    int64_t t = -2;
    EXPECT_EQ(HAL_getPlayerMediaTime(player, &t), HAL_OK);
    return t;
  }
  HALPlayer* player = nullptr;
};

TEST_F(WavePlayer, PlaysEverySampleOnceThenEnds) {
  open(makeWave16(1, kRate, ramp(1000)));
  EXPECT_EQ(HAL_playerStateWord(player), HAL_PLAYER_OPEN);
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
  EXPECT_EQ(HAL_playerStateWord(player), HAL_PLAYER_PLAYING);
  const std::vector<int16_t> out = pump(1200);
  for (int32_t i = 0; i < 1000; ++i) {
    ASSERT_EQ(out[2 * i], i + 1) << i;
    ASSERT_EQ(out[2 * i + 1], i + 1) << i;
  }
  for (int32_t i = 1000; i < 1200; ++i) ASSERT_EQ(out[2 * i], 0) << i;
  EXPECT_EQ(HAL_playerStateWord(player), HAL_PLAYER_ENDED);
  int32_t state = -1;
  EXPECT_EQ(HAL_getPlayerState(player, &state), HAL_OK);
  EXPECT_EQ(state, 1);
}

TEST_F(WavePlayer, StereoAndEightBitSamples) {
  open(makeWave16(2, kRate, {100, -100, 200, -200}));
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
  EXPECT_EQ(pump(3), (std::vector<int16_t>{100, -100, 200, -200, 0, 0}));
  ASSERT_EQ(HAL_closePlayer(player), HAL_OK);
  player = nullptr;
  open(makeWave8(1, kRate, {128, 255, 0}));
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
  EXPECT_EQ(pumpLeft(3), (std::vector<int16_t>{0, 127 << 8, -32768}));
}

TEST_F(WavePlayer, LoopsPlayTheSoundAgainWithoutAGap) {
  struct Case {
    int32_t loop;
    int32_t plays;  // whole plays heard in 10 lengths of the sound
  };
  for (const Case c : {Case{0, 1}, Case{2, 3}, Case{-1, 10}}) {
    SCOPED_TRACE(c.loop);
    open(makeWave16(1, kRate, ramp(100)), c.loop);
    ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
    const std::vector<int16_t> left = pumpLeft(1000);
    for (int32_t i = 0; i < 1000; ++i) ASSERT_EQ(left[i], i < c.plays * 100 ? i % 100 + 1 : 0) << i;
    EXPECT_EQ(HAL_playerStateWord(player), c.plays < 10 ? HAL_PLAYER_ENDED : HAL_PLAYER_PLAYING);
    ASSERT_EQ(HAL_closePlayer(player), HAL_OK);
    player = nullptr;
  }
}

TEST_F(WavePlayer, SetLoopCountTakesEffectAtTheNextStart) {
  open(makeWave16(1, kRate, ramp(100)));
  EXPECT_EQ(HAL_setPlayerLoopCount(player, -2), HAL_ILLEGAL_ARGUMENT_ERR);
  ASSERT_EQ(HAL_setPlayerLoopCount(player, 1), HAL_OK);
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
  const std::vector<int16_t> left = pumpLeft(300);
  EXPECT_EQ(left[199], 100);
  EXPECT_EQ(left[200], 0);
}

TEST_F(WavePlayer, StartAfterPauseBeginsAtTheMediaTimeLastSet) {
  // Three seconds of a ramp that repeats every second.
  std::vector<int16_t> samples(3 * kRate);
  for (int32_t i = 0; i < 3 * kRate; ++i) samples[i] = static_cast<int16_t>(i);
  open(makeWave16(1, kRate, samples));
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
  pump(500);
  ASSERT_EQ(HAL_pausePlayer(player), HAL_OK);
  EXPECT_EQ(pumpLeft(10), std::vector<int16_t>(10, 0));
  // Unset: a start begins at 0 again.
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
  EXPECT_EQ(pumpLeft(3), (std::vector<int16_t>{0, 1, 2}));
  // Set to 1.5 s: whole seconds count, so it begins at 1 s.
  ASSERT_EQ(HAL_pausePlayer(player), HAL_OK);
  ASSERT_EQ(HAL_setPlayerMediaTime(player, 1500000), HAL_OK);
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
  EXPECT_EQ(pumpLeft(2), (std::vector<int16_t>{kRate, kRate + 1}));
  // A start after a stop (pause) or after the end begins there again.
  ASSERT_EQ(HAL_pausePlayer(player), HAL_OK);
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
  EXPECT_EQ(pumpLeft(1), (std::vector<int16_t>{kRate}));
}

TEST_F(WavePlayer, StartTimeBelowOneSecondStartsAtZero) {
  open(makeWave16(1, kRate, ramp(kRate + kRate / 3)));
  ASSERT_EQ(HAL_setPlayerMediaTime(player, 900000), HAL_OK);
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
  EXPECT_EQ(pumpLeft(1)[0], 1);
}

TEST_F(WavePlayer, DurationAndMediaTime) {
  open(makeWave16(1, kRate, std::vector<int16_t>(2 * kRate, 1)));
  int64_t duration = 0;
  ASSERT_EQ(HAL_getPlayerDuration(player, &duration), HAL_OK);
  EXPECT_EQ(duration, 2000);
  EXPECT_EQ(HAL_setPlayerMediaTime(player, -1), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_setPlayerMediaTime(player, 2000001), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(mediaTime(), 0);
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
  pump(kRate / 2);
  EXPECT_EQ(mediaTime(), 500000);
  pump(2 * kRate);
  // The end of the last loop reads as the end of the sound.
  EXPECT_EQ(mediaTime(), 2000000);
  int32_t code = 0;
  ASSERT_EQ(HAL_getPlayerContentType(player, &code), HAL_OK);
  EXPECT_EQ(code, HAL_CONTENT_WAV);
}

TEST_F(WavePlayer, MediaTimeCountsWithinTheCurrentLoop) {
  open(makeWave16(1, kRate, std::vector<int16_t>(kRate, 1)), 2);  // 1 s, three plays
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
  pump(kRate / 4);
  EXPECT_EQ(mediaTime(), 250000);
  pump(kRate);
  EXPECT_EQ(mediaTime(), 250000);  // a quarter into the second play
  pump(3 * kRate);
  EXPECT_EQ(HAL_playerStateWord(player), HAL_PLAYER_ENDED);
  EXPECT_EQ(mediaTime(), 1000000);  // the end of the last play
}

TEST_F(WavePlayer, VolumeRoundTripsForEveryLevelAndScalesTheSamples) {
  open(makeWave16(1, kRate, std::vector<int16_t>(10, 10000)));
  for (int32_t level = 0; level <= 100; ++level) {
    ASSERT_EQ(HAL_setPlayerVolume(player, level), HAL_OK);
    int32_t read = -1;
    ASSERT_EQ(HAL_getPlayerVolume(player, &read), HAL_OK);
    ASSERT_EQ(read, level);
  }
  int32_t read = -1;
  ASSERT_EQ(HAL_setPlayerVolume(player, 150), HAL_OK);
  ASSERT_EQ(HAL_getPlayerVolume(player, &read), HAL_OK);
  EXPECT_EQ(read, 100);
  ASSERT_EQ(HAL_setPlayerVolume(player, 50), HAL_OK);
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
  EXPECT_NEAR(pumpLeft(1)[0], 5000, 1);
  // A device without volume control is left as it is.
  ceWaveOutSetCapabilities(0, false);
  EXPECT_EQ(HAL_setPlayerVolume(player, 10), HAL_NOT_IMPLEMENTED_ERR);
  ceWaveOutSetCapabilities(WAVECAPS_VOLUME | WAVECAPS_LRVOLUME, true);
  EXPECT_EQ(HAL_setPlayerVolume(player, 10), HAL_NOT_IMPLEMENTED_ERR);
  ceWaveOutSetCapabilities(WAVECAPS_VOLUME | WAVECAPS_LRVOLUME, false);
  ASSERT_EQ(HAL_getPlayerVolume(player, &read), HAL_OK);
  EXPECT_EQ(read, 50);
}

TEST_F(WavePlayer, PauseAllPausesEveryPlayer) {
  open(makeWave16(1, kRate, ramp(100)));
  HALPlayer* second = nullptr;
  const auto file = makeWave16(1, kRate, ramp(100));
  ASSERT_EQ(HAL_createPlayerWithData(&second, file.data(), static_cast<int32_t>(file.size()), HAL_CONTENT_NONE, 0),
            HAL_OK);
  EXPECT_EQ(HAL_countPlayers(), 2);
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
  ASSERT_EQ(HAL_startPlayer(second), HAL_OK);
  EXPECT_EQ(pumpLeft(1)[0], 2);
  HAL_pauseAllPlayers();
  EXPECT_EQ(HAL_playerStateWord(player), HAL_PLAYER_PAUSED);
  EXPECT_EQ(HAL_playerStateWord(second), HAL_PLAYER_PAUSED);
  EXPECT_EQ(pumpLeft(5), std::vector<int16_t>(5, 0));
  ASSERT_EQ(HAL_closePlayer(second), HAL_OK);
  EXPECT_EQ(HAL_countPlayers(), 1);
}

TEST(WaveFile, MalformedFilesAreRefusedWithStatus6) {
  usePumpedOutput(kRate);
  const std::vector<uint8_t> good = makeWave16(1, kRate, ramp(10));
  auto with = [&](size_t at, std::vector<uint8_t> bytes) {
    std::vector<uint8_t> f = good;
    for (size_t i = 0; i < bytes.size(); ++i) f[at + i] = bytes[i];
    return f;
  };
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
  };
  const Case cases[] = {
      {"shorter than a header", std::vector<uint8_t>(good.begin(), good.begin() + 43)},
      {"header only", std::vector<uint8_t>(good.begin(), good.begin() + 44)},
      {"not RIFF", with(0, {'R', 'I', 'F', 'X'})},
      {"no data chunk", with(36, {'d', 'a', 't', 'x'})},
      {"no fmt chunk", with(12, {'f', 'm', 't', 'x'})},
      {"zero channels", with(22, {0, 0})},
      {"zero rate", with(24, {0, 0, 0, 0})},
      {"zero bits", with(34, {0, 0})},
      {"24-bit samples", with(34, {24, 0})},
      {"five channels", with(22, {5, 0})},
      {"compressed format", with(20, {2, 0})},
      {"chunk size past the end", with(16, {0xFF, 0xFF, 0xFF, 0x7F})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HALPlayer* player = nullptr;
    EXPECT_EQ(HAL_createPlayerWithData(&player, c.file.data(), static_cast<int32_t>(c.file.size()), HAL_CONTENT_WAV, 0),
              HAL_BAD_FORMAT_ERR);
    EXPECT_EQ(player, nullptr);
  }
  EXPECT_EQ(HAL_countPlayers(), 0);
}

TEST(WaveFile, ChunksAreWalkedAndDataIsClampedToTheBytesPresent) {
  HALWaveInfo info{};
  std::vector<uint8_t> f = makeWave16(2, 22050, ramp(10));
  ASSERT_EQ(HAL_parseWave(f.data(), static_cast<int32_t>(f.size()), &info), HAL_OK);
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.sampleRate, 22050u);
  EXPECT_EQ(info.bitsPerSample, 16);
  EXPECT_EQ(info.dataOffset, 44);
  EXPECT_EQ(info.dataLength, 20);
  // A "LIST" chunk of odd length before the data, and a data size larger
  // than the file.
  std::vector<uint8_t> g(f.begin(), f.begin() + 36);
  const uint8_t list[] = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  g.insert(g.end(), std::begin(list), std::end(list));
  const uint8_t data[] = {'d', 'a', 't', 'a', 0, 1, 0, 0};
  g.insert(g.end(), std::begin(data), std::end(data));
  g.insert(g.end(), f.begin() + 44, f.end());
  ASSERT_EQ(HAL_parseWave(g.data(), static_cast<int32_t>(g.size()), &info), HAL_OK);
  EXPECT_EQ(info.dataOffset, 56);
  EXPECT_EQ(info.dataLength, 20);
}

TEST(WaveFile, ArgumentsAndContentCodes) {
  usePumpedOutput(kRate);
  const std::vector<uint8_t> f = makeWave16(1, kRate, ramp(10));
  HALPlayer* player = nullptr;
  EXPECT_EQ(HAL_createPlayerWithData(&player, f.data(), static_cast<int32_t>(f.size()), 4, 0), HAL_NOT_IMPLEMENTED_ERR);
  EXPECT_EQ(HAL_createPlayerWithData(nullptr, f.data(), 10, 2, 0), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_createPlayerWithData(&player, nullptr, 10, 2, 0), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_startPlayer(nullptr), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_closePlayer(nullptr), HAL_ILLEGAL_ARGUMENT_ERR);
  const char16_t name[] = u"///no/such/file.wav";
  EXPECT_EQ(HAL_createPlayerWithLocator(&player, HAL_LOCATOR_FILE, name, 19, HAL_CONTENT_WAV, 0), HAL_NOT_FOUND_ERR);
  EXPECT_EQ(HAL_createPlayerWithLocator(&player, 3, name, 19, HAL_CONTENT_WAV, 0), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_createPlayerWithLocator(&player, HAL_LOCATOR_FILE, name, 19, HAL_CONTENT_MIDI, 0),
            HAL_NOT_IMPLEMENTED_ERR);
}

TEST(WaveFile, FileLocatorReadsTheWholeFile) {
  usePumpedOutput(kRate);
  const std::vector<uint8_t> f = makeWave16(1, kRate, ramp(4));
  char path[] = "/tmp/jme_media_XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, f.data(), f.size()), static_cast<ssize_t>(f.size()));
  close(fd);
  std::u16string name = u"//";
  for (const char* c = path; *c; ++c) name += static_cast<char16_t>(*c);
  HALPlayer* player = nullptr;
  ASSERT_EQ(HAL_createPlayerWithLocator(&player, HAL_LOCATOR_FILE, name.data(), static_cast<int32_t>(name.size()), 1, 0),
            HAL_OK);
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
  EXPECT_EQ(pumpLeft(5), (std::vector<int16_t>{1, 2, 3, 4, 0}));
  EXPECT_EQ(HAL_closePlayer(player), HAL_OK);
  // An empty file is a read failure.
  truncate(path, 0);
  EXPECT_EQ(HAL_createPlayerWithLocator(&player, HAL_LOCATOR_FILE, name.data(), static_cast<int32_t>(name.size()), 1, 0),
            HAL_IO_ERR);
  unlink(path);
}

// A lone surrogate names no file, not even one whose name holds the bytes
// such a unit would encode to.
TEST(WaveFile, FileLocatorWithALoneSurrogateFindsNoFile) {
  usePumpedOutput(kRate);
  const std::vector<uint8_t> f = makeWave16(1, kRate, ramp(4));
  const std::string path = "/tmp/jme_media_" + std::to_string(getpid()) + "\xED\xA0\x80";
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, f.data(), f.size()), static_cast<ssize_t>(f.size()));
  close(fd);
  std::u16string name = u"//";
  for (const char c : path.substr(0, path.size() - 3)) name += static_cast<char16_t>(c);
  name += static_cast<char16_t>(0xD800);
  HALPlayer* player = nullptr;
  EXPECT_EQ(HAL_createPlayerWithLocator(&player, HAL_LOCATOR_FILE, name.data(), static_cast<int32_t>(name.size()), 1, 0),
            HAL_NOT_FOUND_ERR);
  unlink(path.c_str());
}

}  // namespace

namespace {

struct Heard {
  int32_t event;
  int64_t time;
};

void listen(void* context, HALPlayer*, int32_t event, int32_t low, int32_t high, intptr_t) {
  const int64_t time = static_cast<int64_t>(uint64_t{static_cast<uint32_t>(high)} << 32 | static_cast<uint32_t>(low));
  static_cast<std::vector<Heard>*>(context)->push_back({event, time});
}

TEST_F(WavePlayer, EveryOperationIsReportedToTheHookWithTheMediaTime) {
  std::vector<Heard> heard;
  HAL_setPlayerListener(&heard, listen);
  open(makeWave16(1, kRate, std::vector<int16_t>(2 * kRate, 1)));
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);  // reset, then started
  pump(kRate / 2);
  ASSERT_EQ(HAL_pausePlayer(player), HAL_OK);
  ASSERT_EQ(HAL_setPlayerVolume(player, 30), HAL_OK);
  ASSERT_EQ(HAL_setPlayerMediaTime(player, 1000000), HAL_OK);
  ASSERT_EQ(HAL_closePlayer(player), HAL_OK);  // reset, then closed
  player = nullptr;
  HAL_setPlayerListener(nullptr, nullptr);
  const std::vector<int32_t> events = {HAL_PLAYER_EVENT_RESET,  HAL_PLAYER_EVENT_STARTED,  HAL_PLAYER_EVENT_PAUSED,
                                       HAL_PLAYER_EVENT_VOLUME, HAL_PLAYER_EVENT_TIME_SET, HAL_PLAYER_EVENT_RESET,
                                       HAL_PLAYER_EVENT_CLOSED};
  ASSERT_EQ(heard.size(), events.size());
  for (size_t i = 0; i < events.size(); ++i) EXPECT_EQ(heard[i].event, events[i]) << i;
  EXPECT_EQ(heard[2].time, 500000);   // paused half a second in
  EXPECT_EQ(heard[4].time, 1500000);  // start time 1 s + the half second played
}

}  // namespace
