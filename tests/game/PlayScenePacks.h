#pragma once

// Content for the play scene's tests, written over the UI packs
// (UiPacks.h): the HUD, the main objects and life icons of every tier,
// the barrier, landscape and item sets of every record type, the far
// images and a map tile image, all at the ids the play scene asks for.
// Sprites are 16 x 16, drawn with their corner at (-8, -16); the
// animation sets are the play pack's (PlayFixtures.h): the main objects'
// set, barriers of box type 6 (no effect on a main object), pick-ups.
//
// HUD frame set 0x0C02 (boxes in screen coordinates where the scene puts
// the frames; box i has type i):
//   frame 0, the counter at (120, 0): box 0 kCounterBox;
//   frames 1 and 12, the pause button at (240, 320): box 5 kPauseBox;
//   frames 2t + 2, A's controls at (0, 160): 1 kJumpABox, 2 kDropABox;
//   frames 2t + 3, B's controls at (240, 160): 3 kJumpBBox, 4 kDropBBox.
// kDropABox overlaps kPauseBox and kJumpABox.
// Panel set 0x0C04: the UI board frames, but for frames 0 and 1 (the
// life-icon holders at (0, 0) and (240, 0): boxes 0..4 the icons at
// kIconsA and kIconsB) and frame 4 (the overlay at (120, 160): box 0
// kPanelBox).
//
// Levels: cells of 16 x 16 pixels over the tile image kTileImage, an
// upper and a lower platform along the whole map, point B above the upper
// one and point A above the lower one.

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "LevelRecords.h"

namespace gametest::playscene {

constexpr int32_t kCell = 16;
constexpr int32_t kTileImage = 0x2C14;
constexpr std::array<int32_t, 4> kFarImages = {0x2C0F, 0x3022, 0x3413, 0x3818};

constexpr int32_t kCounterBox[4] = {90, 2, 60, 16};
constexpr int32_t kPauseBox[4] = {200, 280, 40, 40};
constexpr int32_t kJumpABox[4] = {0, 160, 120, 100};
constexpr int32_t kDropABox[4] = {0, 240, 240, 80};
constexpr int32_t kJumpBBox[4] = {0, 0, 120, 160};
constexpr int32_t kDropBBox[4] = {120, 0, 120, 160};
constexpr int32_t kPanelBox[4] = {20, 60, 200, 200};
constexpr int32_t kIconsAX = 4;
constexpr int32_t kIconsBX = 140;
constexpr int32_t kIconsY = 4;
constexpr int32_t kIconStep = 20;

void writePlayScenePacks(const std::filesystem::path& rsc);

// What a scene level holds beyond its map, platforms and points.
struct SceneLevel {
  int columns = 40;
  int rows = 20;
  // Deadly zones (scaled records of mode 2) at these x on the upper
  // platform.
  std::vector<int> deadlyX;
  // Items (value 0) at these x on the upper platform.
  std::vector<int> itemX;
  // Barriers of one record type, each (x on the upper platform, kind).
  int barrierType = 0;
  std::vector<std::array<int, 2>> barriers;
  // Landscape records (type 2) and landscape B records (type 3), each
  // (x, y, variant).
  std::vector<std::array<int, 3>> landscape;
  std::vector<std::array<int, 3>> landscapeB;
};

// Top edges of the platforms and the y of the points.
int upperPlatform(const SceneLevel& l);
int lowerPlatform(const SceneLevel& l);

content::Bytes sceneLevel(const SceneLevel& l);

}  // namespace gametest::playscene
