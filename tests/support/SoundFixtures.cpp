#include "SoundFixtures.h"

#include <cstring>
#include <string_view>

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

std::vector<uint8_t> header(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t dataBytes) {
  std::vector<uint8_t> out;
  for (char c : std::string_view("RIFF")) out.push_back(static_cast<uint8_t>(c));
  put32(out, 36 + dataBytes);
  for (char c : std::string_view("WAVEfmt ")) out.push_back(static_cast<uint8_t>(c));
  put32(out, 16);
  put16(out, 1);
  put16(out, channels);
  put32(out, rate);
  put32(out, rate * channels * bits / 8);
  put16(out, channels * bits / 8);
  put16(out, bits);
  for (char c : std::string_view("data")) out.push_back(static_cast<uint8_t>(c));
  put32(out, dataBytes);
  return out;
}

}  // namespace

std::vector<uint8_t> makeWave16(uint16_t channels, uint32_t rate, const std::vector<int16_t>& samples) {
  std::vector<uint8_t> out = header(channels, rate, 16, static_cast<uint32_t>(samples.size() * 2));
  for (int16_t s : samples) put16(out, static_cast<uint16_t>(s));
  return out;
}

std::vector<uint8_t> makeWave8(uint16_t channels, uint32_t rate, const std::vector<uint8_t>& samples) {
  std::vector<uint8_t> out = header(channels, rate, 8, static_cast<uint32_t>(samples.size()));
  out.insert(out.end(), samples.begin(), samples.end());
  return out;
}

std::vector<int16_t> ramp(int32_t frames) {
  std::vector<int16_t> out(frames);
  for (int32_t i = 0; i < frames; ++i) out[i] = static_cast<int16_t>(i + 1);
  return out;
}

std::vector<uint8_t> makeMidi(const std::vector<uint8_t>& track, uint16_t division, uint16_t tracks) {
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0};
  out.push_back(static_cast<uint8_t>(tracks >> 8));
  out.push_back(static_cast<uint8_t>(tracks));
  out.push_back(static_cast<uint8_t>(division >> 8));
  out.push_back(static_cast<uint8_t>(division));
  for (char c : std::string_view("MTrk")) out.push_back(static_cast<uint8_t>(c));
  const uint32_t n = static_cast<uint32_t>(track.size());
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(n >> shift));
  out.insert(out.end(), track.begin(), track.end());
  return out;
}

std::vector<int16_t> pump(int32_t frames) {
  std::vector<int16_t> out(2 * static_cast<size_t>(frames));
  CeAudioOutput::pump(out.data(), frames);
  return out;
}

std::vector<int16_t> pumpLeft(int32_t frames) {
  std::vector<int16_t> both = pump(frames);
  std::vector<int16_t> left(frames);
  for (int32_t i = 0; i < frames; ++i) left[i] = both[2 * i];
  return left;
}

void usePumpedOutput(int32_t rate) { CeAudioOutput::select(CeAudioOutput::Kind::pumped, rate); }
