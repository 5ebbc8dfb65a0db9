#include "TextTableWriter.h"

#include "ContentError.h"

namespace content {

namespace {

constexpr size_t kMaxRecord = 32767;

// The records; returns the sum of the text lengths through `textBytes`.
Bytes writeTable(const std::vector<std::u16string>& texts, size_t maxCount, size_t& textBytes) {
  require(texts.size() <= maxCount, "text count",
          std::to_string(texts.size()) + " is more than " + std::to_string(maxCount));
  ByteWriter out;
  out.u16(static_cast<uint32_t>(texts.size()));
  textBytes = 0;
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::string item = itemName("text", i);
    const Bytes bytes = encodeText(texts[i], item);
    require(bytes.size() <= kMaxRecord, item,
            std::to_string(bytes.size()) + " bytes are more than a record's 32767");
    out.u16(static_cast<uint32_t>(bytes.size()));
    out.bytes(bytes);
    textBytes += bytes.size();
  }
  return out.take();
}

}  // namespace

Bytes encodeText(const std::u16string& text, const std::string& item) {
  Bytes out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    require(c < 0xD800 || c > 0xDFFF, item + ", character " + std::to_string(i),
            "a surrogate: characters outside the Basic Multilingual Plane have no 1- to 3-byte form");
    if (c < 0x80) {
      out.push_back(static_cast<uint8_t>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<uint8_t>(0xC0 | c >> 6));
      out.push_back(static_cast<uint8_t>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<uint8_t>(0xE0 | c >> 12));
      out.push_back(static_cast<uint8_t>(0x80 | (c >> 6 & 0x3F)));
      out.push_back(static_cast<uint8_t>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

Bytes writeTranslationTable(const std::vector<std::u16string>& texts) {
  size_t textBytes = 0;
  return writeTable(texts, 0xFFFF, textBytes);
}

Bytes writeCanvasTextTable(const std::vector<std::u16string>& texts) {
  size_t textBytes = 0;
  Bytes out = writeTable(texts, 0x7FFF, textBytes);
  require(textBytes <= 0xFFFF, "text bytes",
          std::to_string(textBytes) + " in all are more than the 16-bit offsets' 65535");
  return out;
}

}  // namespace content
