#pragma once

#include <cstdint>

// One General MIDI synthesiser: FluidSynth with the Debian General MIDI
// soundfont, rendering stereo float samples at a fixed rate. The stand-in's
// wave-out device makes one for every open MIDI voice.
//
// Ownership: the object owns its FluidSynth settings and synthesiser and
// frees them in its destructor. It is not thread-safe: its owner (the audio
// mixer) calls it under its own lock only.
//
// Rendering is deterministic: reverb and chorus are off and no dither is
// applied, so the same messages at the same times give the same samples.
class CeMidiSynth {
 public:
  // The soundfont the Debian package timgm6mb-soundfont installs, and the
  // system's default General MIDI soundfont when that one is missing.
  static constexpr const char* kSoundFonts[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2",
                                                "/usr/share/sounds/sf2/default-GM.sf2"};

  // A synthesiser at `sampleRate` frames per second with the soundfont
  // loaded; null when FluidSynth or the soundfont cannot be loaded.
  static CeMidiSynth* create(int32_t sampleRate);
  ~CeMidiSynth();
  CeMidiSynth(const CeMidiSynth&) = delete;
  CeMidiSynth& operator=(const CeMidiSynth&) = delete;

  // Plays one short message: status | data1 << 8 | data2 << 16. Note-on
  // and note-off (0x90 with velocity 0 is a note-off), key and channel
  // pressure, controller, program change and pitch bend; other statuses
  // are ignored.
  void shortMessage(uint32_t message);
  // Renders `frames` frames into `left` and `right` (values about -1..1).
  void render(float* left, float* right, int32_t frames);
  // True while any note (or its release) still sounds.
  bool sounding();
  // Silences every voice and restores every channel to its start state.
  void reset();

 private:
  CeMidiSynth() = default;

  struct _fluid_hashtable_t* settings_ = nullptr;
  struct _fluid_synth_t* synth_ = nullptr;
};
