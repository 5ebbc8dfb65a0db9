#pragma once

#include <string>
#include <vector>

#include "ByteWriter.h"

namespace content {

// `text` in the engine's UTF-8: one byte below U+0080, two below U+0800,
// three up to U+FFFF. A surrogate (a character outside the Basic
// Multilingual Plane, or half of one) is refused, naming `item` and the
// character's position.
Bytes encodeText(const std::u16string& text, const std::string& item);

// A translation table: the count (16 bits unsigned, at most 65535), then
// per text its signed 16-bit byte length (at most 32767) and its bytes.
// The engine keeps 16-bit offsets for a resource of at most 65535 bytes
// and 32-bit ones above.
Bytes writeTranslationTable(const std::vector<std::u16string>& texts);

// The canvas text table: the same records, but at most 32767 texts (the
// count is read signed) and at most 65535 text bytes in all (its offsets
// are 16-bit).
Bytes writeCanvasTextTable(const std::vector<std::u16string>& texts);

}  // namespace content
