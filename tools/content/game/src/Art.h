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

// The picked-art folder: tools/content/game/art. A far background wraps
// round without a seam (its right edge runs on into its left).
content::IndexedImage farImage(const std::filesystem::path& art, const FarImage& far);
content::IndexedImage tileSheet(const std::filesystem::path& art, int terrain);
content::IndexedImage runnerSheet(const std::filesystem::path& art, int tier, int runner);

enum class Icon { Star, Lock, Button, Pickup, Trophy, Ribbon, Banner };
// The icon scaled to fit size x size (the star and the lock carry their
// spots, see spots()).
content::IndexedImage icon(const std::filesystem::path& art, Icon which, int size);

// The picture of award `award` (the codes of the game's award list, 0 to
// 11), kAwardSize square: a ribbon for a tier completed (0..4), a trophy
// for a tier with three stars everywhere (6..10), each in its tier's
// colour (a turn of the colour circle per tier); gold for all five tiers
// (5 with a ribbon, 11 with a trophy).
inline constexpr int kAwardSize = 40;
content::IndexedImage award(const std::filesystem::path& art, int award);

// The logo: the banner in light tan with the title drawn in the counter's
// glyph set between two gold stars. `game` is tools/content/game.
inline constexpr int kLogoWidth = 200;
inline constexpr int kLogoHeight = 96;
content::IndexedImage logo(const std::filesystem::path& game);

// A board panel of w x h: light tan, a two-pixel dark brown border with
// cut corners, the colours of the game's boxes.
content::IndexedImage panel(int w, int h);

// A flat-coloured spot that a key element carries, for the pixel tests:
// `size` x `size` pixels of `colour` at (x, y) of the element's image,
// a colour found nowhere else in that image. Icons place theirs at their
// centre, whatever size they are drawn at (x and y are then for size
// kSpotIconSize).
struct Spot {
  const char* element;  // "logo", "panel", "star", "lock"
  int x;
  int y;
  int size;
  uint32_t colour;
};
inline constexpr int kSpotIconSize = 24;
const std::vector<Spot>& spots();
const Spot& spot(const char* element);
// The spot of `element` in `table`; a ContentError when it has none.
const Spot& findSpot(const std::vector<Spot>& table, const char* element);

}  // namespace gamecontent
