#pragma once

// An independent reading of a PNG file for the writer's tests: the chunks
// with their CRCs checked by zlib, the image data inflated by zlib, and
// the whole file decoded by libpng.

#include <cstdint>
#include <string>
#include <vector>

namespace test::canvasdraw {

struct PngChunk {
  std::string type;
  std::vector<uint8_t> data;
  bool crcMatches = false;
};

// The chunks after the signature, in order; empty when the signature is wrong.
std::vector<PngChunk> chunksOf(const std::vector<uint8_t>& png);

// The IDAT data inflated by zlib (filter bytes included); empty when zlib
// rejects the stream (a bad Adler-32 included).
std::vector<uint8_t> inflated(const std::vector<uint8_t>& zlibStream);

// The pixels decoded by libpng as 0xAARRGGBB; empty on failure.
std::vector<uint32_t> decodedByLibpng(const std::vector<uint8_t>& png, int* width, int* height);

}  // namespace test::canvasdraw
