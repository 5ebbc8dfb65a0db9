#include "Music.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "ContentError.h"

namespace gamecontent {

using content::require;

const std::vector<MusicPiece>& musicPieces() {
  static const std::vector<MusicPiece> pieces = {
      {0x4800, "menu"},  {0x4801, "fields"},    {0x4802, "dunes"},
      {0x4803, "caves"}, {0x4804, "mountains"}, {0x4805, "beach"},
  };
  return pieces;
}

long long loopFrames(const MidiSong& song, int rate) {
  return std::llround(song.seconds * rate / kSynthBlock) * kSynthBlock;
}

namespace {

struct Synth {
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  ~Synth() {
    if (synth) delete_fluid_synth(synth);
    if (settings) delete_fluid_settings(settings);
  }
};

void apply(fluid_synth_t* s, const MidiEvent& e) {
  const int channel = e.status & 0x0F;
  switch (e.status & 0xF0) {
    case 0x80: fluid_synth_noteoff(s, channel, e.data1); break;
    case 0x90:
      if (e.data2 == 0) fluid_synth_noteoff(s, channel, e.data1);
      else fluid_synth_noteon(s, channel, e.data1, e.data2);
      break;
    case 0xA0: fluid_synth_key_pressure(s, channel, e.data1, e.data2); break;
    case 0xB0: fluid_synth_cc(s, channel, e.data1, e.data2); break;
    case 0xC0: fluid_synth_program_change(s, channel, e.data1); break;
    case 0xD0: fluid_synth_channel_pressure(s, channel, e.data1); break;
    case 0xE0: fluid_synth_pitch_bend(s, channel, e.data1 | (e.data2 << 7)); break;
  }
}

}  // namespace

content::PcmSound renderLoop(const MidiSong& song, const std::filesystem::path& soundfont, int rate) {
  const long long frames = loopFrames(song, rate);
  require(frames > 0, "music", "the song has no length");
  for (int level : {FLUID_WARN, FLUID_INFO, FLUID_DBG}) fluid_set_log_function(level, nullptr, nullptr);
  Synth fs;
  fs.settings = new_fluid_settings();
  fluid_settings_setnum(fs.settings, "synth.sample-rate", rate);
  fluid_settings_setnum(fs.settings, "synth.gain", 0.4);
  fluid_settings_setint(fs.settings, "synth.cpu-cores", 1);
  fluid_settings_setint(fs.settings, "synth.reverb.active", 1);
  fluid_settings_setint(fs.settings, "synth.chorus.active", 0);
  fs.synth = new_fluid_synth(fs.settings);
  require(fs.synth != nullptr, "music", "FluidSynth cannot start");
  require(fluid_synth_sfload(fs.synth, soundfont.c_str(), 1) != FLUID_FAILED, soundfont.string(),
          "is not a soundfont FluidSynth loads");

  // Two passes, every event at its frame; the second pass is kept.
  std::vector<float> left(static_cast<size_t>(2 * frames)), right(left.size());
  long long done = 0;
  auto renderTo = [&](long long frame) {
    const long long n = std::min(frame, 2 * frames) - done;
    if (n <= 0) return;
    fluid_synth_write_float(fs.synth, static_cast<int>(n), left.data() + done, 0, 1, right.data() + done, 0, 1);
    done += n;
  };
  for (int pass = 0; pass < 2; ++pass) {
    for (const MidiEvent& e : song.events) {
      renderTo(pass * frames + std::llround(e.seconds * rate));
      apply(fs.synth, e);
    }
  }
  renderTo(2 * frames);

  std::vector<float> mono(static_cast<size_t>(frames));
  float peak = 0;
  for (long long i = 0; i < frames; ++i) {
    mono[i] = (left[frames + i] + right[frames + i]) / 2;
    peak = std::max(peak, std::fabs(mono[i]));
  }
  require(peak > 0, "music", "the loop is silent");
  const float scale = 0.9f * 32767 / peak;
  std::vector<int16_t> samples(mono.size());
  std::transform(mono.begin(), mono.end(), samples.begin(),
                 [&](float v) { return static_cast<int16_t>(std::lround(v * scale)); });
  return content::PcmSound{1, rate, 16, content::pcm16(samples)};
}

}  // namespace gamecontent
