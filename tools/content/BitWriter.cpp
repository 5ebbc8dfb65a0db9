#include "BitWriter.h"

namespace content {

void BitWriter::write(int bits, uint32_t value) {
  for (int i = bits - 1; i >= 0; --i) {
    if (free_ == 0) {
      out_.push_back(0);
      free_ = 8;
    }
    --free_;
    out_.back() = static_cast<uint8_t>(out_.back() | ((value >> i) & 1) << free_);
  }
}

Bytes BitWriter::take() {
  free_ = 0;
  return std::move(out_);
}

int bitLength(uint32_t n) {
  int length = 0;
  for (; n != 0; n >>= 1) ++length;
  return length;
}

}  // namespace content
