#pragma once

// The game's interface sets: the logo, the loading picture and the
// background tile (pack 1), the boxes' rows, buttons and panels, the
// balloon of the level-failed panel, the play HUD and the pick-ups (pack
// 3), and the menu pages' art (pack 4). Each set is a sprite set over a
// palette sheet of its pack and, for most, an animation set whose frames
// place those sprites and carry the typed boxes the game reads.
//
// The pictures come from the picked files (Openclipart icons and award
// pictures, Pekka Kana 2 scenery, tiles, the rooster, its head and the
// sparkles) and from panels drawn here; every sheet is palettised at the
// end, after which the key elements' flat-coloured spots are painted with
// entries of their own (interfaceSpots(), screenSpots()).
//
// Box layout of the interface frames: box i has type i; a frame carries
// boxes 0 up to the highest one the game reads, the ones it does not read
// zero-size. docs/content.md ("Interface sets") lists them per frame.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "AnimationSetWriter.h"
#include "PngWriter.h"
#include "SpriteSetWriter.h"

namespace gamecontent {

// A spot painted into one sprite of a set: its position in the sprite's
// image (a 2 x 2 square) and its colour.
struct SpriteSpot {
  int sprite;
  int x;
  int y;
  uint32_t colour;  // 0xAARRGGBB
};

struct InterfaceKit {
  content::IndexedImage sheet;
  content::SpriteSet sprites;                  // its `sheet` is the sheet's index in the pack
  std::optional<content::AnimationSet> anims;  // none for the pictures drawn without one
  std::vector<SpriteSpot> spots;
};

// The interface sets by id: the animation set (or -1), the sprite set it
// draws, and the sheet image's index in their pack.
struct InterfaceSetIds {
  int anims;
  int sprites;
  int sheetIndex;
};
const std::vector<InterfaceSetIds>& interfaceSets();

// The kit of sprite set `spritesId`, built from the game content folder
// `game` (tools/content/game) once per process.
const InterfaceKit& interfaceKit(const std::filesystem::path& game, int spritesId);

// The spot colours of the interface elements (565-exact: each channel
// survives the screen's 16 bits), by element name: "row" (a menu row),
// "button" (a board's answer button), "backdrop" (the backdrop of the main
// menu, options and language pages), "stage" (a stage button), "counter"
// (the play counter's frame), "pause" (the pause button), "results" (the
// results panel), "gallery" (the award gallery), "board" (the backdrop of
// the help, about and award pages); "logo", "panel", "star" and "lock" are
// those of Art.h's spots().
uint32_t interfaceSpot(const std::string& element);

// A spot where the game shows it on the 240 x 320 game area (the canvas's
// own coordinates on a 240 x 320 screen). The screen keeps 16 bits a
// pixel, so a sample is compared by its RGB565 value (the top 5, 6 and 5
// bits of red, green and blue): 0x28C870 reads back as 0x29CA73.
struct ScreenSpot {
  std::string name;  // "<scene or page>.<element>", e.g. "page5.lock1"
  int x;
  int y;
  uint32_t colour;  // 0xAARRGGBB
};
// Where the key elements show their spots: the logo scene ("logo.logo"),
// the language, main menu and options pages' backdrop and first rows
// ("page11.backdrop", "page11.row0", "page2.row0", ...), the stage page's
// backdrop panel, stage buttons, locks (a locked stage i) and stars (star
// j of an unlocked stage i), the help and award pages' backdrops, the
// gallery, the play HUD's counter and pause button, and the results panel.
std::vector<ScreenSpot> screenSpots(const std::filesystem::path& game);

}  // namespace gamecontent
