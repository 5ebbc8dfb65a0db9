#pragma once

// The game's fixture content: the packs the shell loads at start-up and a
// row of sprite and animation sets for the cache, written with the content
// writers.
//
//   pack 1 (chunked): 0 the logo's animation set 1024 (animation 0 shows
//     sprite 0 for ever), 1 the logo's sprite set 1025 (one 101 x 51
//     sprite on sheet 5), 2 the loading picture 0x402 (one 2 x 2 sprite),
//     3 the background tile 0x403 (one 4 x 3 sprite), 4 the backdrop's
//     sheet (a 6 x 3 opaque palette image: the tile in columns 0..3, the
//     picture in columns 4..5 of rows 0..1, every pixel of the two a
//     colour of its own), 5 the logo's sheet (one colour), 10.. 69 sprite
//     sets of one sprite each, for the cache;
//   pack 19 (chunked): 0 the glyph set 0x4C00, 1 the glyph set 0x4C01,
//     2 their sheet;
//   pack 18 (chunked): the six sound sets 0x4800..0x4805 (one WAV each);
//   pack 20: 0 the translation table 0x5000.

#include <cstdint>
#include <filesystem>

namespace gametest {

constexpr int32_t kAnimSetId = 0x400;
constexpr int32_t kSheetId = 0x404;
constexpr int32_t kFirstCacheSetId = 0x40A;
constexpr int32_t kCacheSets = 60;
// Sizes of the two shell pictures.
constexpr int32_t kPictureSize = 2;
constexpr int32_t kTileWidth = 4;
constexpr int32_t kTileHeight = 3;
constexpr int32_t kLogoWidth = 101;
constexpr int32_t kLogoHeight = 51;

// The colours (0xAARRGGBB, exact in 16-bit RGB 565) of the background
// tile's pixel (x, y) and of the loading picture's.
uint32_t tileColour(int32_t x, int32_t y);
uint32_t pictureColour(int32_t x, int32_t y);

void writeGamePacks(const std::filesystem::path& rsc);

}  // namespace gametest
