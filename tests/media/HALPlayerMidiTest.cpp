#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "HALMemory.h"
#include "HALMidiFile.h"
#include "HALPlayer.h"
#include "SoundFixtures.h"

namespace {

constexpr int32_t kRate = 22050;

struct Event {
  uint32_t delta;
  uint32_t message;
  bool operator==(const Event&) const = default;
};

std::vector<Event> parse(const std::vector<uint8_t>& file, HALStatus* status = nullptr, bool print = false) {
  uint8_t* records = nullptr;
  int32_t count = -1;
  int32_t division = 0;
  const HALStatus s = HAL_parseMidi(file.data(), static_cast<int32_t>(file.size()), &records, &count, &division, print);
  if (status != nullptr) *status = s;
  std::vector<Event> out;
  if (s != HAL_OK) return out;
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* r = records + 8 * i;
    out.push_back({uint32_t{r[0]} | r[1] << 8 | r[2] << 16 | uint32_t{r[3]} << 24,
                   uint32_t{r[4]} | r[5] << 8 | r[6] << 16 | uint32_t{r[7]} << 24});
  }
  HAL_freeBuffer(records);
  return out;
}

TEST(MidiFile, ScanTakesChannelEventsAndSkipsEverythingElseByteByByte) {
  const std::vector<uint8_t> track = {
      0x00, 0xC0, 0x05,              // program change: one data byte
      0x00, 0x90, 0x3C, 0x64,        // note on
      0x0A, 0x3C, 0x00,              // running status: skipped
      0x81, 0x00, 0xD0, 0x40,        // channel pressure after a two-byte delta
      0x00, 0xB1, 0x07, 0x64,        // controller, channel 1
      0x00, 0x80, 0x3C, 0x00,        // note off: not an event of the scan
      0x00, 0xFF, 0x2F, 0x00,        // end of track
  };
  testing::internal::CaptureStdout();
  const std::vector<Event> events = parse(makeMidi(track), nullptr, true);
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(events, (std::vector<Event>{{0, 0xC0 | 0x05 << 8},
                                        {0, 0x90 | 0x3C << 8 | 0x64 << 16},
                                        {128, 0xD0 | 0x40 << 8},
                                        {0, 0xB1 | 0x07 << 8 | 0x64 << 16}}));
  EXPECT_EQ(printed,
            "0 - ) ORIGINAL - Event type + channel: c0, par1: 5, par2: 0\n"
            "1 - ) ORIGINAL - Event type + channel: 90, par1: 3c, par2: 64\n"
            "2 - ) ORIGINAL - Event type + channel: d0, par1: 40, par2: 0\n"
            "3 - ) ORIGINAL - Event type + channel: b1, par1: 7, par2: 64\n");
}

TEST(MidiFile, UnsupportedAndMalformedFiles) {
  const std::vector<uint8_t> note = {0x00, 0x90, 0x3C, 0x64};
  std::vector<uint8_t> notMidi = makeMidi(note);
  const std::vector<uint8_t> empty = makeMidi({});
  notMidi[0] = 'X';
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
    HALStatus status;
    size_t events;
  };
  const Case cases[] = {
      {"two tracks", makeMidi(note, 96, 2), HAL_NOT_IMPLEMENTED_ERR, 0},
      {"SMPTE division", makeMidi(note, 0xE728), HAL_NOT_IMPLEMENTED_ERR, 0},
      {"shorter than its header", std::vector<uint8_t>(notMidi.begin() + 1, notMidi.begin() + 12), HAL_BAD_FORMAT_ERR, 0},
      {"no MThd", notMidi, HAL_BAD_FORMAT_ERR, 0},
      {"header only", std::vector<uint8_t>(empty.begin(), empty.begin() + 14), HAL_OK, 0},
      {"event cut short", makeMidi({0x00, 0x90, 0x3C}), HAL_OK, 0},
      {"delta without an end", makeMidi({0x81, 0x82, 0x83, 0x84, 0x85, 0x86}), HAL_OK, 0},
      {"program change at the very end", makeMidi({0x00, 0xC3, 0x01}), HAL_OK, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HALStatus status = -1;
    EXPECT_EQ(parse(c.file, &status).size(), c.events);
    EXPECT_EQ(status, c.status);
  }
  // Through the player: the same codes, and a zero division is refused by
  // the device.
  usePumpedOutput(kRate);
  HALPlayer* player = nullptr;
  const std::vector<uint8_t> twoTracks = makeMidi(note, 96, 2);
  EXPECT_EQ(HAL_createPlayerWithData(&player, twoTracks.data(), static_cast<int32_t>(twoTracks.size()), HAL_CONTENT_MIDI, 0),
            HAL_NOT_IMPLEMENTED_ERR);
  const std::vector<uint8_t> noDivision = makeMidi(note, 0);
  EXPECT_EQ(HAL_createPlayerWithData(&player, noDivision.data(), static_cast<int32_t>(noDivision.size()),
                                     HAL_CONTENT_MIDI, 0),
            HAL_BAD_FORMAT_ERR);
  EXPECT_EQ(player, nullptr);
  EXPECT_EQ(HAL_countPlayers(), 0);
}

// A4 (440 Hz) on a piano for 400 ms (one tick is one millisecond), then
// its note-off (a note-on with velocity 0).
std::vector<uint8_t> noteFile() {
  return makeMidi({0x00, 0xC0, 0x00,                //
                   0x00, 0x90, 0x45, 0x7F,          //
                   0x83, 0x10, 0x90, 0x45, 0x00});  // 400 ticks later
}

// Plays `file` once on a new player and returns `frames` left samples.
std::vector<int16_t> playMidi(const std::vector<uint8_t>& file, int32_t frames, int64_t* mediaTimeAt200ms = nullptr) {
  HALPlayer* player = nullptr;
  EXPECT_EQ(HAL_createPlayerWithData(&player, file.data(), static_cast<int32_t>(file.size()), HAL_CONTENT_MIDI, 0),
            HAL_OK);
  if (player == nullptr) return {};
  EXPECT_EQ(HAL_startPlayer(player), HAL_OK);
  std::vector<int16_t> out = pumpLeft(kRate / 5);
  if (mediaTimeAt200ms != nullptr) {
    EXPECT_EQ(HAL_getPlayerMediaTime(player, mediaTimeAt200ms), HAL_OK);
  }
  const std::vector<int16_t> rest = pumpLeft(frames - kRate / 5);
  out.insert(out.end(), rest.begin(), rest.end());
  EXPECT_EQ(HAL_closePlayer(player), HAL_OK);
  return out;
}

// The power of `signal` at `hertz` (Goertzel).
double powerAt(const std::vector<int16_t>& signal, size_t from, size_t count, double hertz) {
  const double coefficient = 2 * std::cos(2 * M_PI * hertz / kRate);
  double s1 = 0, s2 = 0;
  for (size_t i = from; i < from + count; ++i) {
    const double s0 = signal[i] + coefficient * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  return s1 * s1 + s2 * s2 - coefficient * s1 * s2;
}

double energy(const std::vector<int16_t>& signal, size_t from, size_t count) {
  double sum = 0;
  for (size_t i = from; i < from + count; ++i) sum += static_cast<double>(signal[i]) * signal[i];
  return sum;
}

TEST(MidiPlayer, SynthesisesTheNoteAtItsPitchDeterministicallyAndReleasesIt) {
  usePumpedOutput(kRate);
  const std::vector<uint8_t> file = noteFile();
  int64_t mediaTime = -1;
  const std::vector<int16_t> first = playMidi(file, kRate, &mediaTime);
  const std::vector<int16_t> second = playMidi(file, kRate);
  ASSERT_EQ(first.size(), static_cast<size_t>(kRate));
  EXPECT_EQ(first, second);
  EXPECT_EQ(mediaTime, 200000);
  // While the note sounds, 440 Hz stands far above a frequency between
  // the note and its neighbours.
  const size_t window = kRate / 10;
  const size_t during = kRate / 10;
  EXPECT_GT(powerAt(first, during, window, 440), 50 * powerAt(first, during, window, 415));
  EXPECT_GT(energy(first, during, window), 0);
  // The note-off at 400 ms ends the records; the note fades out after it
  // instead of being cut off, and is gone half a second later.
  EXPECT_GT(energy(first, kRate * 41 / 100, kRate / 100), 0);
  EXPECT_LT(energy(first, kRate * 9 / 10, window), energy(first, during, window) / 100);
}

TEST(MidiPlayer, NoteOffDecaysInsteadOfCutting) {
  usePumpedOutput(kRate);
  // Note on at 0, note off at 200 ms, a silent controller at 600 ms.
  const std::vector<uint8_t> file = makeMidi({0x00, 0xC0, 0x00,                //
                                              0x00, 0x90, 0x45, 0x7F,          //
                                              0x81, 0x48, 0x90, 0x45, 0x00,    // 200 ticks
                                              0x83, 0x10, 0xB0, 0x50, 0x00});  // 400 ticks
  const std::vector<int16_t> out = playMidi(file, kRate);
  const size_t window = kRate / 50;  // 20 ms
  const double held = energy(out, kRate / 10, window);
  const double justAfter = energy(out, kRate / 5 + kRate / 50, window);
  const double later = energy(out, kRate / 2, window);
  EXPECT_GT(held, 0);
  EXPECT_GT(justAfter, 0);          // still sounding right after the note-off
  EXPECT_LT(justAfter, held);       // but fading
  EXPECT_LT(later, justAfter / 10);  // and nearly gone 300 ms later
}

TEST(MidiPlayer, LoopsReplayTheEventsAndPauseHolds) {
  usePumpedOutput(kRate);
  const std::vector<uint8_t> file = noteFile();
  HALPlayer* player = nullptr;
  ASSERT_EQ(HAL_createPlayerWithData(&player, file.data(), static_cast<int32_t>(file.size()), HAL_CONTENT_MIDI, 1),
            HAL_OK);
  int64_t duration = -1;
  ASSERT_EQ(HAL_getPlayerDuration(player, &duration), HAL_OK);
  EXPECT_EQ(duration, 0);
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
  const std::vector<int16_t> out = pumpLeft(kRate);
  const size_t window = kRate / 20;
  // The second pass starts the note again at 400 ms.
  EXPECT_GT(energy(out, kRate / 2, window), 0);
  EXPECT_EQ(HAL_playerStateWord(player), HAL_PLAYER_ENDED);
  ASSERT_EQ(HAL_startPlayer(player), HAL_OK);
  pumpLeft(kRate / 10);
  ASSERT_EQ(HAL_pausePlayer(player), HAL_OK);
  EXPECT_EQ(pumpLeft(100), std::vector<int16_t>(100, 0));
  ASSERT_EQ(HAL_closePlayer(player), HAL_OK);
}

}  // namespace
