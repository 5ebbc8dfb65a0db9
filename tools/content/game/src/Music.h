#pragma once

// The game's music: six MIDI loops under music/, composed for it, and the
// WAV loops rendered from them that the game plays (the engine plays WAV
// only). The WAVs are committed beside their sources, since the soundfont
// that renders them (FluidR3_GM of Debian's fluid-soundfont-gm, about
// 140 MB) is needed by the render command only, never by the build.
//
// A loop is rendered as two passes of its MIDI; the second pass is kept,
// so the first pass's decaying notes and reverb sound under its start and
// the loop joins itself without a click. The mix is folded to mono and
// scaled so that its peak sits at 90 % of full scale.

#include <filesystem>
#include <vector>

#include "MidiFile.h"
#include "WavWriter.h"

namespace gamecontent {

struct MusicPiece {
  int resourceId;
  const char* name;  // music/<name>.mid and music/<name>.wav
};

// 0x4800 the menus' loop, 0x4801 to 0x4805 the loops of groups 0 to 4.
const std::vector<MusicPiece>& musicPieces();

// Mono, 16-bit, at this rate: small enough to commit, clear enough for
// a phone speaker.
inline constexpr int kMusicRate = 11025;

// FluidSynth renders in blocks of this many frames and starts an event at
// the next block; a loop whose length is a whole number of blocks meets
// every pass's events at the same place in a block, so its passes sound
// alike to the sample and the loop joins itself.
inline constexpr int kSynthBlock = 64;

// The loop's length in sample frames at `rate`: the song's length,
// rounded to the nearest whole number of synthesizer blocks (at most half a
// block, 3 ms at 11025 Hz, from the song's own length).
long long loopFrames(const MidiSong& song, int rate);

// Renders one loop with FluidSynth and the soundfont at `soundfont`.
content::PcmSound renderLoop(const MidiSong& song, const std::filesystem::path& soundfont, int rate);

// Where Debian's fluid-soundfont-gm puts FluidR3_GM.
inline constexpr const char* kDefaultSoundfont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";

}  // namespace gamecontent
