#include "HALMidiFile.h"

#include <cstdio>
#include <cstring>

#include "HALMemory.h"

namespace {

constexpr int32_t kFirstEvent = 22;

struct Event {
  uint32_t delta;
  uint8_t status;
  uint8_t data1;
  uint8_t data2;
};

bool isEvent(uint8_t status) {
  const int kind = status & 0xF0;
  return kind >= 0x90 && kind <= 0xD0;
}

int dataBytes(uint8_t status) {
  const int kind = status & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// Reads the event at `pos`: true with `event` and `next` set when a whole
// event starts there.
bool readEvent(const uint8_t* bytes, int32_t length, int32_t pos, Event& event, int32_t& next) {
  uint32_t delta = 0;
  for (int i = 0; i < 5; ++i) {
    if (pos >= length) return false;
    const uint8_t b = bytes[pos++];
    delta = delta << 7 | (b & 0x7F);
    if ((b & 0x80) == 0) break;
  }
  if (pos >= length || !isEvent(bytes[pos])) return false;
  const uint8_t status = bytes[pos++];
  const int n = dataBytes(status);
  if (length - pos < n) return false;
  event = {delta, status, bytes[pos], n == 2 ? bytes[pos + 1] : uint8_t{0}};
  next = pos + n;
  return true;
}

// Walks the track; calls `each` for every event and returns their number.
template <class Each>
int32_t scan(const uint8_t* bytes, int32_t length, Each each) {
  int32_t count = 0;
  int32_t pos = kFirstEvent;
  while (pos < length) {
    Event event;
    int32_t next;
    if (readEvent(bytes, length, pos, event, next)) {
      each(count++, event);
      pos = next;
    } else {
      ++pos;
    }
  }
  return count;
}

void putU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

HALStatus HAL_parseMidi(const uint8_t* bytes, int32_t length, uint8_t** records, int32_t* count, int32_t* division,
                        bool print) {
  if (bytes == nullptr || records == nullptr || count == nullptr || division == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  if (length < 14 || std::memcmp(bytes, "MThd", 4) != 0) return HAL_BAD_FORMAT_ERR;
  const int tracks = bytes[10] << 8 | bytes[11];
  const int ticks = bytes[12] << 8 | bytes[13];
  if ((ticks & 0x8000) != 0 || tracks != 1) return HAL_NOT_IMPLEMENTED_ERR;
  const int32_t n = scan(bytes, length, [](int32_t, const Event&) {});
  auto* out = static_cast<uint8_t*>(HAL_allocateBuffer(n > 0 ? static_cast<size_t>(n) * 8 : 8));
  if (out == nullptr) return HAL_OUT_OF_MEMORY_ERR;
  scan(bytes, length, [&](int32_t index, const Event& e) {
    putU32(out + index * 8, e.delta);
    putU32(out + index * 8 + 4, e.status | e.data1 << 8 | e.data2 << 16);
    if (print) {
      std::printf("%d - ) ORIGINAL - Event type + channel: %x, par1: %x, par2: %x\n", index, e.status, e.data1,
                  e.data2);
    }
  });
  *records = out;
  *count = n;
  *division = ticks;
  return HAL_OK;
}
