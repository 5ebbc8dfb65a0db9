#include "HALWaveFile.h"

#include <cstring>

namespace {

uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t u32(const uint8_t* p) { return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24; }

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

}  // namespace

HALStatus HAL_parseWave(const uint8_t* bytes, int32_t length, HALWaveInfo* info) {
  if (bytes == nullptr || info == nullptr || length < 44) return HAL_BAD_FORMAT_ERR;
  if (std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) return HAL_BAD_FORMAT_ERR;
  bool haveFormat = false;
  bool haveData = false;
  uint16_t tag = 0;
  int64_t pos = 12;
  while (pos + 8 <= length && !(haveFormat && haveData)) {
    const uint8_t* chunk = bytes + pos;
    const int64_t body = pos + 8;
    const int64_t size = u32(chunk + 4);
    const int64_t present = length - body;
    if (std::memcmp(chunk, "fmt ", 4) == 0 && !haveFormat) {
      if (size < 16 || present < 16) return HAL_BAD_FORMAT_ERR;
      tag = u16(bytes + body);
      info->channels = u16(bytes + body + 2);
      info->sampleRate = u32(bytes + body + 4);
      info->bitsPerSample = u16(bytes + body + 14);
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0 && !haveData) {
      info->dataOffset = static_cast<int32_t>(body);
      info->dataLength = static_cast<int32_t>(size < present ? size : present);
      haveData = true;
    }
    pos = body + size + (size & 1);
  }
  if (!haveFormat || !haveData) return HAL_BAD_FORMAT_ERR;
  if (tag != kFormatPcm && tag != kFormatExtensible) return HAL_BAD_FORMAT_ERR;
  if (info->channels == 0 || info->sampleRate == 0 || info->bitsPerSample == 0 || info->dataLength <= 0) {
    return HAL_BAD_FORMAT_ERR;
  }
  return HAL_OK;
}
