#pragma once

// The game's resource ids and text ids, named once. Plain constants with
// no dependence on the VM, so that the sources of the game's content (its
// packs and text tables) can include this header as well as the game.
//
// A resource id is pack * 1024 + index; packs of like content share one
// index layout, so id + 1024 names the same item in the next pack. Level n
// is resource n + 2048.

#include <cstdint>

namespace gameids {

constexpr int32_t resourceId(int32_t pack, int32_t index) { return pack * 1024 + index; }

// Pack 1: the shell's pictures.
constexpr int32_t kLoadingPicture = 0x402;
constexpr int32_t kBackgroundTiles = 0x403;
// The logo scene's two pictures.
constexpr int32_t kLogo = 1024;
constexpr int32_t kLogoSecond = 1025;
// The UI boxes' frames.
constexpr int32_t kBoxFrame = 3072;
constexpr int32_t kBoxArrows = 3076;
constexpr int32_t kBoxButtons = 3077;
constexpr int32_t kBoxPanel = 3081;
// Sound sets: set 5 (the menu's) is 0x4800, sets 0 to 4 are 0x4801 to 0x4805.
constexpr int32_t kMenuSoundSet = 0x4800;
constexpr int32_t kFirstLevelSoundSet = 0x4801;
constexpr int32_t kSoundSets = 6;
// Glyph sets of font slots 1 and 0.
constexpr int32_t kGlyphsSlot1 = 0x4C00;
constexpr int32_t kGlyphsSlot0 = 0x4C01;
// Translation tables 0x5000 to 0x5004; 0x5001 is the one the game starts with.
constexpr int32_t kFirstTranslation = 0x5000;
constexpr int32_t kTranslations = 5;
// Levels.
constexpr int32_t kFirstLevel = 2048;

// Text ids shared by the menus and boards (a row's id is also its choice).
constexpr int32_t kTextDisabled = 0;
constexpr int32_t kTextMainMenu = 10;
constexpr int32_t kTextYes = 37;
constexpr int32_t kTextNo = 38;
constexpr int32_t kTextBack = 39;
constexpr int32_t kTextNext = 40;

}  // namespace gameids
