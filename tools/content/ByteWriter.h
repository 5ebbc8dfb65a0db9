#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace content {

using Bytes = std::vector<uint8_t>;

// Appends big-endian numbers to a byte vector, as the engine's data
// streams read them, and the engine's two compact integer encodings.
// Callers check ranges first; each append keeps only the bits it writes.
class ByteWriter {
 public:
  void u8(uint32_t v) { out_.push_back(static_cast<uint8_t>(v)); }
  void u16(uint32_t v);
  void u32(uint32_t v);
  void bytes(const Bytes& b) { out_.insert(out_.end(), b.begin(), b.end()); }

  // U: 0..254 in one byte; 255..65535 as 255 then the 16-bit value.
  void compactUnsigned(uint32_t v);
  // S: -127..127 in one byte; -32768..32767 otherwise as 0x80 then the
  // 16-bit value.
  void compactSigned(int32_t v);

  size_t size() const { return out_.size(); }
  const Bytes& data() const { return out_; }
  Bytes take() { return std::move(out_); }

 private:
  Bytes out_;
};

// The 4-byte big-endian form of four ASCII characters ("RPHe").
uint32_t fourCharCode(const char (&id)[5]);

}  // namespace content
