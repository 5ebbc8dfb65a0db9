// The committed music loops: each WAV beside its MIDI source is a
// canonical mono PCM WAV at the music rate whose length is its source's
// loop, short and not silent; the MIDI reader refuses malformed files.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "ContentError.h"
#include "Music.h"

namespace {

const std::filesystem::path kMusic = std::filesystem::path(JME_SOURCE_DIR) / "tools/content/game/music";

content::Bytes readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in.good()) << path;
  return content::Bytes(std::istreambuf_iterator<char>(in), {});
}

uint32_t le(const content::Bytes& b, size_t at, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[at + i];
  return v;
}

TEST(Music, EachCommittedLoopIsACanonicalMonoWavOfItsSourcesLength) {
  ASSERT_EQ(gamecontent::musicPieces().size(), 6u);
  for (const auto& piece : gamecontent::musicPieces()) {
    SCOPED_TRACE(piece.name);
    const content::Bytes wav = readFile(kMusic / (std::string(piece.name) + ".wav"));
    const auto song = gamecontent::parseMidi(readFile(kMusic / (std::string(piece.name) + ".mid")), piece.name);
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(le(wav, 4, 4), wav.size() - 8);
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(le(wav, 16, 4), 16u);   // fmt chunk size
    EXPECT_EQ(le(wav, 20, 2), 1u);    // PCM
    EXPECT_EQ(le(wav, 22, 2), 1u);    // mono
    EXPECT_EQ(le(wav, 24, 4), static_cast<uint32_t>(gamecontent::kMusicRate));
    EXPECT_EQ(le(wav, 28, 4), static_cast<uint32_t>(gamecontent::kMusicRate * 2));  // byte rate
    EXPECT_EQ(le(wav, 32, 2), 2u);    // block align
    EXPECT_EQ(le(wav, 34, 2), 16u);   // bits
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    EXPECT_EQ(le(wav, 40, 4), wav.size() - 44);
    // As long as its source's four bars (in whole synthesizer blocks), and short.
    EXPECT_EQ(static_cast<long long>((wav.size() - 44) / 2), gamecontent::loopFrames(song, gamecontent::kMusicRate));
    EXPECT_GE(song.seconds, 5.0);
    EXPECT_LE(song.seconds, 12.0);
    int peak = 0;
    for (size_t i = 44; i + 1 < wav.size(); i += 2) peak = std::max(peak, std::abs(int16_t(le(wav, i, 2))));
    EXPECT_GT(peak, 16000);
  }
}

TEST(Music, TheMidiReaderTimesEventsByTheTempoMap) {
  // Format 0, 96 ticks a quarter: tempo 1 s a quarter, a note on at 0 and
  // off at 48, End of Track at 192.
  const content::Bytes file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
                               'M', 'T', 'r', 'k', 0, 0, 0, 19,
                               0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,
                               0x00, 0x90, 60, 100,
                               0x30, 60, 0,  // running status
                               0x81, 0x10, 0xFF, 0x2F, 0x00};
  const auto song = gamecontent::parseMidi(file, "t.mid");
  ASSERT_EQ(song.events.size(), 2u);
  EXPECT_DOUBLE_EQ(song.events[1].seconds, 0.5);
  EXPECT_EQ(song.events[1].status, 0x90);
  EXPECT_EQ(song.events[1].data2, 0);
  EXPECT_DOUBLE_EQ(song.seconds, 2.0);
  // 22050 frames, rounded to whole 64-frame synthesizer blocks.
  EXPECT_EQ(gamecontent::loopFrames(song, 11025), 22080);
  EXPECT_EQ(gamecontent::loopFrames(song, 16000), 32000);
}

TEST(Music, MalformedMidiIsRefused) {
  const content::Bytes header = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 0, 96};
  auto withTrack = [&](content::Bytes body) {
    content::Bytes f = header;
    f.insert(f.end(), {'M', 'T', 'r', 'k', 0, 0, 0, static_cast<uint8_t>(body.size())});
    f.insert(f.end(), body.begin(), body.end());
    return f;
  };
  const std::vector<content::Bytes> cases = {
      {'R', 'I', 'F', 'F'},
      {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 2, 0, 1, 0, 96},       // format 2
      {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 0x80, 0},     // SMPTE timing
      withTrack({0x00, 0x90, 60}),                               // cut short
      withTrack({0x00, 60, 100, 0x00, 0xFF, 0x2F, 0x00}),        // data without status
      withTrack({0x00, 0x90, 60, 100}),                          // no End of Track
      withTrack({0x00, 0xFF, 0x51, 0x02, 0, 0, 0x00, 0xFF, 0x2F, 0x00}),  // short tempo
      withTrack({0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x2F, 0x00}),        // 5-byte delta
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_THROW(gamecontent::parseMidi(cases[i], "bad.mid"), content::ContentError) << "case " << i;
  }
  // A track whose length runs past the file.
  content::Bytes past = withTrack({0x00, 0xFF, 0x2F, 0x00});
  past[21] = 200;
  EXPECT_THROW(gamecontent::parseMidi(past, "bad.mid"), content::ContentError);
}

}  // namespace
