#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "CeAudioOutput.h"

// Small sound files built in memory for the media tests.

// A canonical 44-byte-header WAV file of 16-bit samples (interleaved when
// `channels` is 2).
std::vector<uint8_t> makeWave16(uint16_t channels, uint32_t rate, const std::vector<int16_t>& samples);
// The same with 8-bit unsigned samples.
std::vector<uint8_t> makeWave8(uint16_t channels, uint32_t rate, const std::vector<uint8_t>& samples);
// A mono ramp 1, 2, 3 ... of `frames` 16-bit samples.
std::vector<int16_t> ramp(int32_t frames);

// A single-track MIDI file (division `division`) whose track holds `track`.
std::vector<uint8_t> makeMidi(const std::vector<uint8_t>& track, uint16_t division = 96, uint16_t tracks = 1);

// Pumps `frames` stereo frames of the mixer.
std::vector<int16_t> pump(int32_t frames);
// The left channel of `frames` pumped frames.
std::vector<int16_t> pumpLeft(int32_t frames);

// Chooses the hand-pumped output at `rate`; call before the first device opens.
void usePumpedOutput(int32_t rate);
