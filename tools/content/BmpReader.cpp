#include "BmpReader.h"

#include "ContentError.h"

namespace content {

namespace {

uint32_t le32(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint32_t le16(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8; }

}  // namespace

std::variant<RgbaImage, IndexedImage> readBmp(const Bytes& bmp, const std::string& name,
                                              std::optional<int> transparent) {
  require(bmp.size() >= 54 && bmp[0] == 'B' && bmp[1] == 'M', name, "is not a BMP file");
  const uint32_t dataOffset = le32(bmp, 10);
  const uint32_t headerSize = le32(bmp, 14);
  const int32_t width = static_cast<int32_t>(le32(bmp, 18));
  const int32_t rawHeight = static_cast<int32_t>(le32(bmp, 22));
  const uint32_t bits = le16(bmp, 28);
  require(headerSize >= 40 && headerSize <= bmp.size() - 14, name, "has an information header it cannot hold");
  require(le16(bmp, 26) == 1 && le32(bmp, 30) == 0, name, "is compressed or has several planes; only plain BMPs are taken");
  require(bits == 8 || bits == 24 || bits == 32, name, "has " + std::to_string(bits) + " bits per pixel; 8, 24 or 32 are taken");
  require(rawHeight != INT32_MIN, name, "has an impossible height");
  const bool topDown = rawHeight < 0;
  const int32_t height = topDown ? -rawHeight : rawHeight;
  require(width >= 1 && width <= kMaxPngSide && height >= 1 && height <= kMaxPngSide &&
              int64_t{width} * height <= kMaxPngPixels,
          name, "is " + std::to_string(width) + " x " + std::to_string(height) + ", outside what a PNG here can be");
  const uint64_t rowBytes = (static_cast<uint64_t>(width) * bits / 8 + 3) / 4 * 4;
  require(dataOffset <= bmp.size() && rowBytes * height <= bmp.size() - dataOffset, name, "is cut short");
  auto rowAt = [&](int32_t y) { return dataOffset + rowBytes * static_cast<uint64_t>(topDown ? y : height - 1 - y); };
  if (bits == 8) {
    uint32_t colours = le32(bmp, 46);
    if (colours == 0) colours = 256;
    require(colours <= 256 && 14 + headerSize + 4ull * colours <= dataOffset, name, "has a colour table it cannot hold");
    IndexedImage image{width, height, {}, {}};
    for (uint32_t i = 0; i < colours; ++i) {
      const size_t at = 14 + headerSize + 4 * i;
      image.palette.push_back(0xFF000000u | bmp[at + 2] << 16 | bmp[at + 1] << 8 | bmp[at]);
    }
    if (transparent) {
      require(*transparent >= 0 && static_cast<uint32_t>(*transparent) < colours, name,
              "transparent=" + std::to_string(*transparent) + " is not an entry of its colour table");
      image.palette[*transparent] &= 0x00FFFFFFu;
    }
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        const uint8_t index = bmp[rowAt(y) + x];
        require(index < colours, name, "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is past its colour table");
        image.indices.push_back(index);
      }
    }
    return image;
  }
  require(!transparent, name, "transparent= applies to 8-bit BMPs only");
  RgbaImage image{width, height, {}};
  const uint32_t step = bits / 8;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint64_t at = rowAt(y) + uint64_t{step} * static_cast<uint64_t>(x);
      const uint32_t alpha = bits == 32 ? bmp[at + 3] : 0xFF;
      image.pixels.push_back(alpha << 24 | bmp[at + 2] << 16 | bmp[at + 1] << 8 | bmp[at]);
    }
  }
  return image;
}

}  // namespace content
