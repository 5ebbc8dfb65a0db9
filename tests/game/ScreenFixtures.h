#pragma once

// Content for the screen object's tests, in pack 11 beside the game's
// fixture packs: three solid 8 x 8 sprites (red, green, blue) and an
// animation set over them whose frames carry typed boxes.
//
//   sprite set kImages: 0 red at image offset (3, 4) with box (1, 2, 5, 6)
//     from that corner; 1 green with box (0, 0, 8, 8); 2 blue, no box;
//   sprite set kBoxless: one blue sprite without a box;
//   animation set kAnims (drawn with kImages), duration 100 ms:
//     frame 0: red, box (-10, -20, 20, 40) type 0;
//     frame 1: green, box (1, 2, 3, 4) type 2;
//     frame 2: blue, boxes #0 (0, 0, 5, 5) type 3, #1 (10, 10, 6, 6)
//       type 0, #2 (20, 20, 7, 7) type 2 (numbers and types differ);
//     animation 0: frame 0 once; 1: frame 1 once; 2: frames 2, 0 without
//     end; 3 (the last): frame 2 once.

#include <cstdint>
#include <filesystem>

namespace gametest::screen {

constexpr int32_t kPack = 11;
constexpr int32_t kImages = kPack * 1024 + 1;
constexpr int32_t kBoxless = kPack * 1024 + 2;
constexpr int32_t kAnims = kPack * 1024 + 3;
constexpr int32_t kSpriteSize = 8;
constexpr int32_t kStepMs = 100;
constexpr int32_t kEndlessAnimation = 2;
constexpr int32_t kLastAnimation = 3;
// Opaque colours as the RGB565 surfaces keep them.
constexpr uint32_t kRed = 0xFFF80000;
constexpr uint32_t kGreen = 0xFF00FC00;
constexpr uint32_t kBlue = 0xFF0000F8;

void writeScreenPack(const std::filesystem::path& rsc);

}  // namespace gametest::screen
