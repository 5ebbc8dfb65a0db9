#include "WavWriter.h"

#include <limits>

#include "ContentError.h"

namespace content {

namespace {

// The little-endian appends a RIFF header needs.
void le16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void le32(Bytes& out, uint32_t v) {
  le16(out, v);
  le16(out, v >> 16);
}

void tag(Bytes& out, const char (&t)[5]) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(t[i]));
}

}  // namespace

Bytes writeWav(const PcmSound& s) {
  requireRange(s.channels, 1, 2, "WAV channels");
  requireRange(s.sampleRate, 1, 384000, "WAV sample rate");
  require(s.bitsPerSample == 8 || s.bitsPerSample == 16, "WAV bits per sample",
          std::to_string(s.bitsPerSample) + " is neither 8 nor 16");
  const uint32_t blockAlign = static_cast<uint32_t>(s.channels * s.bitsPerSample / 8);
  require(!s.samples.empty() && s.samples.size() % blockAlign == 0, "WAV samples",
          std::to_string(s.samples.size()) + " bytes are not a whole, non-zero number of " +
              std::to_string(blockAlign) + "-byte frames");
  require(s.samples.size() <= std::numeric_limits<int32_t>::max() - 44, "WAV samples", "too long for a RIFF file");
  Bytes out;
  out.reserve(44 + s.samples.size());
  tag(out, "RIFF");
  le32(out, static_cast<uint32_t>(36 + s.samples.size()));
  tag(out, "WAVE");
  tag(out, "fmt ");
  le32(out, 16);
  le16(out, 1);
  le16(out, static_cast<uint32_t>(s.channels));
  le32(out, static_cast<uint32_t>(s.sampleRate));
  le32(out, static_cast<uint32_t>(s.sampleRate) * blockAlign);
  le16(out, blockAlign);
  le16(out, static_cast<uint32_t>(s.bitsPerSample));
  tag(out, "data");
  le32(out, static_cast<uint32_t>(s.samples.size()));
  out.insert(out.end(), s.samples.begin(), s.samples.end());
  return out;
}

Bytes pcm16(const std::vector<int16_t>& samples) {
  Bytes out;
  for (int16_t v : samples) le16(out, static_cast<uint16_t>(v));
  return out;
}

}  // namespace content
