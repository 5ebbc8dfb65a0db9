#pragma once

#include <cstdint>
#include <vector>

#include "ByteWriter.h"

namespace content {

// PCM sound: little-endian samples, channels interleaved (8-bit samples
// unsigned, 16-bit signed, as WAV stores them).
struct PcmSound {
  int channels = 1;        // 1 or 2
  int sampleRate = 8000;   // 1..384000
  int bitsPerSample = 16;  // 8 or 16
  Bytes samples;           // a whole number of frames, at least one
  bool operator==(const PcmSound&) const = default;
};

// The canonical WAV file: the 44-byte RIFF header ("RIFF", size, "WAVE",
// a 16-byte "fmt " chunk of format 1, the "data" chunk header) and the
// samples, which run to the end of the file (no pad byte, since the
// platform plays everything from offset 44 on).
Bytes writeWav(const PcmSound& sound);

// 16-bit samples in the little-endian byte order a WAV file keeps.
Bytes pcm16(const std::vector<int16_t>& samples);

}  // namespace content
