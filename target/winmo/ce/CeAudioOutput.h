#pragma once

#include <cstdint>

// Where the mix of the wave-out devices goes. Three outputs share the
// mixer above them:
// - sdl: SDL2 audio; its callback thread pulls the mix, one period at a time;
// - silent: a thread of our own that pulls the mix at the same real-time
//   pace and drops it (no sound card, as in CI);
// - pumped: nothing pulls; a test calls pump() and gets the exact frames.
// `automatic` (the default) uses SDL2 when an audio device opens and the
// silent output otherwise, so opening a wave-out device never fails for
// lack of a sound card.
//
// The output starts with the first wave-out device and then runs until the
// process ends; its thread never touches the VM, so it may outlive it.
class CeAudioOutput {
 public:
  CeAudioOutput() = delete;

  enum class Kind { automatic, sdl, silent, pumped };

  static constexpr int32_t kDefaultRate = 44100;
  // Frames per period of the real-time outputs: about 11.6 ms at 44.1 kHz.
  static constexpr int32_t kPeriod = 512;

  // Chooses the output and its rate; takes effect only before the first
  // device opens (the mixer's rate is fixed then). False afterwards.
  static bool select(Kind kind, int32_t rate = kDefaultRate);
  static int32_t rate();
  // The output in use once started (sdl, silent or pumped), else the choice.
  static Kind kind();
  // Starts the chosen output; later calls do nothing.
  static void start();
  // Pumped output: mixes `frames` stereo frames into `out` (2 * frames values).
  static void pump(int16_t* out, int32_t frames);
};
