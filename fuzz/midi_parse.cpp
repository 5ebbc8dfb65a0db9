// Fuzz target: the MIDI file scan over arbitrary bytes. A file either
// converts into records, every one of which is a channel event of the
// statuses the scan takes, or is refused with a status; a crash, a read
// outside the input or a leaked buffer is a fault.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "HALMemory.h"
#include "HALMidiFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  const uint64_t memoryBefore = HAL_getAllocatedMemory();
  uint8_t* records = nullptr;
  int32_t count = -1;
  int32_t division = 0;
  const HALStatus status = HAL_parseMidi(data, static_cast<int32_t>(size), &records, &count, &division, false);
  if (status == HAL_OK) {
    if (records == nullptr || count < 0 || int64_t{count} * 3 > static_cast<int64_t>(size) || division > 0x7FFF) abort();
    for (int32_t i = 0; i < count; ++i) {
      const uint8_t kind = records[8 * i + 4] & 0xF0;
      if (kind < 0x90 || kind > 0xD0 || records[8 * i + 7] != 0) abort();
    }
    HAL_freeBuffer(records);
  } else if (status != HAL_BAD_FORMAT_ERR && status != HAL_NOT_IMPLEMENTED_ERR && status != HAL_OUT_OF_MEMORY_ERR) {
    abort();
  }
  if (HAL_getAllocatedMemory() != memoryBefore) abort();
  return 0;
}
