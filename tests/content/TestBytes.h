#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ByteWriter.h"
#include "ContentError.h"

namespace content {

// Bytes from hexadecimal digits; blanks between them are ignored.
inline Bytes hexBytes(const std::string& hex) {
  Bytes out;
  std::string digits;
  for (char c : hex) {
    if (c != ' ') digits += c;
  }
  for (size_t i = 0; i + 1 < digits.size(); i += 2) out.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  return out;
}

inline Bytes be32(size_t v) {
  ByteWriter w;
  w.u32(static_cast<uint32_t>(v));
  return w.take();
}

inline Bytes concat(const std::vector<Bytes>& parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// Upper-case hexadecimal digits, for readable failures.
inline std::string hexText(const Bytes& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (uint8_t b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

// Expects `write` to throw a ContentError that names `item`.
inline void expectRefusal(const std::function<void()>& write, const std::string& item) {
  try {
    write();
    ADD_FAILURE() << "no refusal naming " << item;
  } catch (const ContentError& e) {
    EXPECT_EQ(e.item(), item) << e.what();
  }
}

}  // namespace content
