#include "PngCheck.h"

#include <png.h>
#include <zlib.h>

namespace test::canvasdraw {

namespace {

uint32_t be32(const uint8_t* p) { return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3]; }

}  // namespace

std::vector<PngChunk> chunksOf(const std::vector<uint8_t>& png) {
  static const uint8_t kSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<PngChunk> out;
  if (png.size() < 8 || !std::equal(kSignature, kSignature + 8, png.begin())) return out;
  size_t at = 8;
  while (at + 12 <= png.size()) {
    const uint32_t length = be32(&png[at]);
    if (at + 12 + length > png.size()) break;
    PngChunk c;
    c.type.assign(reinterpret_cast<const char*>(&png[at + 4]), 4);
    c.data.assign(png.begin() + at + 8, png.begin() + at + 8 + length);
    const uLong crc = ::crc32(0, &png[at + 4], length + 4);
    c.crcMatches = crc == be32(&png[at + 8 + length]);
    out.push_back(std::move(c));
    at += 12 + length;
  }
  return out;
}

std::vector<uint8_t> inflated(const std::vector<uint8_t>& zlibStream) {
  std::vector<uint8_t> out(1 << 22);
  uLongf size = out.size();
  if (uncompress(out.data(), &size, zlibStream.data(), zlibStream.size()) != Z_OK) return {};
  out.resize(size);
  return out;
}

std::vector<uint32_t> decodedByLibpng(const std::vector<uint8_t>& png, int* width, int* height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return {};
  image.format = PNG_FORMAT_BGRA;  // little-endian words of 0xAARRGGBB
  std::vector<uint32_t> pixels(size_t{image.width} * image.height);
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  return pixels;
}

}  // namespace test::canvasdraw
