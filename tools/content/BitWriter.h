#pragma once

#include <cstdint>

#include "ByteWriter.h"

namespace content {

// Writes values most significant bit first into bytes that are filled
// from their most significant bit, as the canvas's level reader takes
// them; a value may straddle bytes. The last byte is padded with zero bits.
class BitWriter {
 public:
  // The low `bits` bits of `value` (bits 0..32).
  void write(int bits, uint32_t value);
  void flag(bool on) { write(1, on ? 1 : 0); }

  int64_t bitCount() const { return static_cast<int64_t>(out_.size()) * 8 - free_; }
  Bytes take();

 private:
  Bytes out_;
  int free_ = 0;  // unused low bits of out_.back()
};

// The number of right shifts that bring `n` to 0 (0 for 0, 1 for 1,
// 12 for 2048..4095).
int bitLength(uint32_t n);

}  // namespace content
