#include "RoundTrip.h"

#include <cstdlib>

#include "tq_Resources.h"

namespace contentrt {

void putFiles(const pack_fixtures::ProgramFolder& folder, const content::PackFiles& files) {
  for (const auto& [name, bytes] : files) folder.put(name, bytes);
}

void loadPack(const std::vector<content::PackResource>& resources) {
  VMPtr<VMArray<int8_t>> image = pack_fixtures::javaBytes(content::writeSimplePack(resources));
  if (!tq::Resources::loadIndex(tq::Resources::openStream(image, 0, image->length))) std::abort();
}

Bytes bytesOf(int32_t id) { return pack_fixtures::nativeBytes(tq::Resources::getBytes(id)); }

std::vector<uint32_t> pixels(const VMPtr<Image>& image) {
  const int32_t w = image->getWidth();
  const int32_t h = image->getHeight();
  VMPtr<VMArray<int32_t>> rgb = VMArray<int32_t>::create(w * h);
  image->getRGB(rgb, 0, w, 0, 0, w, h);
  return std::vector<uint32_t>(rgb->elements(), rgb->elements() + rgb->length);
}

uint32_t surfaceColour(uint32_t argb) {
  if (argb >> 24 == 0) return 0;
  return argb & 0xFFF8FCF8u;
}

std::vector<uint32_t> surfaceColours(const std::vector<uint32_t>& argb) {
  std::vector<uint32_t> out;
  for (uint32_t c : argb) out.push_back(surfaceColour(c));
  return out;
}

std::vector<uint32_t> regionOf(const content::IndexedImage& image, int x, int y, int width, int height) {
  std::vector<uint32_t> out;
  for (int row = y; row < y + height; ++row) {
    for (int column = x; column < x + width; ++column) {
      out.push_back(image.palette[image.indices[static_cast<size_t>(row * image.width + column)]]);
    }
  }
  return out;
}

content::IndexedImage distinctSheet(int width, int height) {
  content::IndexedImage s{width, height, {}, {}};
  for (uint32_t k = 0; k < 256; ++k) s.palette.push_back(0xFF000000u | (k >> 3) << 19 | (k & 7) << 13 | 0x18);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) s.indices.push_back(static_cast<uint8_t>(x + 61 * y));
  }
  return s;
}

std::string caseName(const std::string& name, size_t i) { return name + "[" + std::to_string(i) + "]"; }

}  // namespace contentrt
