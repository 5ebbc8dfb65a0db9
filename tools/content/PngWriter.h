#pragma once

#include <cstdint>
#include <vector>

#include "ByteWriter.h"

namespace content {

// A true-colour image: width x height pixels, rows top first, each an
// 0xAARRGGBB word (the engine's ARGB).
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  bool operator==(const RgbaImage&) const = default;
};

// A palette image: one palette index per pixel, and 1..256 palette
// entries as 0xAARRGGBB words (alpha below 0xFF goes to the tRNS chunk).
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> indices;
  std::vector<uint32_t> palette;
  bool operator==(const IndexedImage&) const = default;
};

// Sides of 1..32767 pixels and at most 2^24 pixels: what the platform's
// decoder takes.
inline constexpr int kMaxPngSide = 32767;
inline constexpr int64_t kMaxPngPixels = int64_t{1} << 24;

// An 8-bit RGBA PNG (colour type 6) with the chunks IHDR, IDAT, IEND.
Bytes writePng(const RgbaImage& image);

// An 8-bit palette PNG (colour type 3) with the chunks IHDR, PLTE, tRNS
// (only when an entry has alpha below 0xFF; up to the last such entry),
// IDAT, IEND: the palette right after the header and the transparency
// right after the palette, where the engine's palette walks look for them.
Bytes writePng(const IndexedImage& image);

}  // namespace content
