#pragma once

// The game's art from the picked files under art/ (CREDITS.md names each
// file's package, version, crop and licence), turned at build time into the
// images the game draws:
//
// - far backgrounds, 240 x 320, from Pekka Kana 2 scenery (one per
//   terrain pack with a far layer; the fifth terrain has none);
// - tile sheets, one row of 16 x 16 tiles per terrain, from a Pekka Kana 2
//   tile sheet halved and recoloured for the terrain;
// - runner sheets, one row of 16 x 30 poses (walk, jump, fall, hurt), from
//   the Pekka Kana 2 rooster halved, recoloured per tier and per runner;
// - icons (star, lock, button, pick-up) from Openclipart, scaled, tinted
//   and palettised.
//
// Every output is a palette image (entry 0 or the ground entry
// transparent).

#include <filesystem>
#include <vector>

#include "PngWriter.h"

namespace gamecontent {

struct FarImage {
  int resourceId;
  const char* file;  // under art/pk2
  int hue;           // degrees the colours turn
};
// 0x2C0F fields, 0x3022 dunes, 0x3413 caves, 0x3818 mountains.
const std::vector<FarImage>& farImages();

// Terrains 0..4: fields, dunes, caves, mountains, beach (the terrain packs
// 11 to 15).
inline constexpr int kTerrains = 5;
inline constexpr int kTileSize = 16;
// The picked tiles of the cut tile sheet (a grid of 32 x 32 tiles, ten to a
// row), in sheet order.
const std::vector<int>& pickedTiles();

// Poses of a runner sheet, in order.
enum class Pose { Walk0, Walk1, Walk2, Walk3, Walk4, Walk5, Walk6, Walk7, Jump, Fall, Hurt, Count };
inline constexpr int kRunnerWidth = 16;
inline constexpr int kRunnerHeight = 30;

// The picked-art folder: tools/content/game/art.
content::IndexedImage farImage(const std::filesystem::path& art, const FarImage& far);
content::IndexedImage tileSheet(const std::filesystem::path& art, int terrain);
content::IndexedImage runnerSheet(const std::filesystem::path& art, int tier, int runner);

enum class Icon { Star, Lock, Button, Pickup };
// The icon scaled to fit size x size.
content::IndexedImage icon(const std::filesystem::path& art, Icon which, int size);

}  // namespace gamecontent
