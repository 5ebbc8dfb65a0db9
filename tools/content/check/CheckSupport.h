#pragma once

#include <cstdint>
#include <string>

#include "ByteWriter.h"
#include "java_lang_Throwable.h"

namespace content::check {

// "<class name>: <message>" of a Java throwable, for fault texts.
std::string describe(java::lang::Throwable* thrown);

// "1 byte follows <what>" or "<n> bytes follow <what>".
std::string bytesAfter(long long n, const std::string& what);

// Reads a resource's bytes front to back as the engine's formats lay them
// out (big-endian, the U and S compact integers), for the rules that the
// engine's readers do not keep the evidence of. Reading past the end sets
// `cut` and gives 0.
class RawReader {
 public:
  explicit RawReader(const Bytes& bytes) : bytes_(bytes) {}
  uint32_t u8();
  uint32_t u16();
  int32_t s16() { return static_cast<int16_t>(u16()); }
  uint32_t compactUnsigned();  // U: a byte 0..254, or 255 and 16 bits
  int32_t compactSigned();     // S: a signed byte, or -128 and 16 bits
  void skip(size_t n);
  size_t left() const { return cut_ ? 0 : bytes_.size() - at_; }
  size_t position() const { return at_; }
  bool cut() const { return cut_; }

 private:
  const Bytes& bytes_;
  size_t at_ = 0;
  bool cut_ = false;
};

}  // namespace content::check
