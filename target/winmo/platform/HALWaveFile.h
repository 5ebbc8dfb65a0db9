#pragma once

#include <cstdint>

#include "HALStatus.h"

// What the audio engine needs of a WAV file: the PCM format and where its
// samples lie. The RIFF chunks are walked ("fmt " and "data" in any order,
// other chunks skipped, odd chunk sizes padded), so a canonical file gives
// channels at offset 22, the rate at 24, the bits at 34 and the samples
// from 44 to its end; a data chunk that claims more bytes than the file
// holds is clamped to the bytes present.
struct HALWaveInfo {
  uint16_t channels;
  uint32_t sampleRate;
  uint16_t bitsPerSample;
  int32_t dataOffset;  // from the start of the file
  int32_t dataLength;  // bytes, never past the end of the file
};

// HAL_OK with `info` filled, or HAL_BAD_FORMAT_ERR for anything that cannot
// be played: shorter than a header, not RIFF/WAVE, no "fmt " or no "data"
// chunk, a non-PCM format, zero channels, bits or rate, or no samples. Reads
// only `length` bytes at `bytes`.
HALStatus HAL_parseWave(const uint8_t* bytes, int32_t length, HALWaveInfo* info);
