#pragma once

#include <optional>
#include <string>
#include <variant>

#include "ByteWriter.h"
#include "PngWriter.h"

namespace content {

// An uncompressed Windows BMP (a 40-byte or longer information header,
// rows bottom-up or top-down): 8 bits per pixel with a colour table gives
// a palette image (entries opaque, `transparent` fully transparent), 24
// bits an opaque RGBA image, 32 bits an RGBA image whose fourth byte is
// the alpha. Anything else, or a file too short for what its header says,
// is refused with ContentError naming `name`.
std::variant<RgbaImage, IndexedImage> readBmp(const Bytes& bmp, const std::string& name,
                                              std::optional<int> transparent = std::nullopt);

}  // namespace content
