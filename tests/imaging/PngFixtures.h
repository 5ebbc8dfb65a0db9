#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// PNG files made in the test, so every fixture says what it holds.
namespace png_fixtures {

using Bytes = std::vector<uint8_t>;

// An image as libpng writes it: `rows` are the packed sample bytes of each
// row for the colour type and bit depth given (PNG_COLOR_TYPE_*).
struct Spec {
  Spec(int width, int height, int colorType, int bitDepth, std::vector<Bytes> rows = {},
       std::vector<uint8_t> palette = {}, std::vector<uint8_t> alphas = {})
      : width(width), height(height), colorType(colorType), bitDepth(bitDepth),
        rows(std::move(rows)), palette(std::move(palette)), alphas(std::move(alphas)) {}

  int width = 0;
  int height = 0;
  int colorType = 0;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<Bytes> rows;
  std::vector<uint8_t> palette;  // r, g, b per entry
  std::vector<uint8_t> alphas;   // tRNS entries of a palette image
  double gamma = 0;              // a gAMA chunk when not 0
  std::vector<std::string> compressedTexts;  // one zTXt chunk each
};

// The file libpng writes for `spec`.
Bytes encode(const Spec& spec);

// A chunk with its length and CRC: type, then data.
Bytes chunk(const std::string& type, const Bytes& data);

// An 8-bit palette image as the engine writes one: the pixel rows go into
// a zlib stream of stored (uncompressed) blocks. `indices` has
// width x height entries.
Bytes storedPalettePng(int width, int height, const std::vector<uint8_t>& rgbPalette,
                       const std::vector<uint8_t>& alphas, const Bytes& indices);

// The CRC-32 of PNG chunks and zip files.
uint32_t crc32(const uint8_t* data, size_t length);

}  // namespace png_fixtures
