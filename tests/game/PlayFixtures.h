#pragma once

// Content for the game object and barrier tests, in pack 12 beside the
// game's fixture packs: one 16 x 16 sprite drawn with its corner at
// (-8, -16) (an object's y is its lower edge), and animation sets of
// twelve animations over one frame that shows it, with one box
// (-8, -16, 16, 16) of a given type. Every step lasts 40 ms, one frame
// at the frame time the tests set. A moving animation of one endless
// step moves twice its step in its first frame (the step's offset counts
// from 0, then the loop carries it), then its step a frame.
//
//   kSprites, kChildSprites: the sprite set (twice, for a quick thrower's
//     children at id + 1);
//   kMainSet: the main objects' set (box type 0):
//     0, 1 still; 2, 3 walk (still); 4, 5 jump: three steps rising 8 px a
//     frame twice, stopped in the third; 6, 7 fall 4 px a frame; 8 action and 9
//     dying: two steps, then stopped; 10 falls 4 px a frame; 11 one step,
//     then stopped;
//   barrierSet(t) (t = 0..7), kBoxlessSet: a barrier's set whose box has
//     type t, or no box: 0 still; 1, 2 action (two steps, stopped); 3, 4
//     fall 4 px a frame; 5 still; 6 two steps, stopped; 7 walks left 2 px
//     a frame, 8 right; 9 still; 10 flies down 4 px a frame, 11 up;
//   kPickupSet: a pick-up: the barrier animations with a type 4 box,
//     but animation 3 (the gathered look) still and without a box.

#include <cstdint>
#include <filesystem>

#include "ByteWriter.h"

namespace gametest::play {

constexpr int32_t kPack = 12;
constexpr int32_t kSprites = kPack * 1024 + 1;
constexpr int32_t kChildSprites = kPack * 1024 + 2;
constexpr int32_t kMainSet = kPack * 1024 + 3;
constexpr int32_t barrierSet(int32_t type) { return kPack * 1024 + 4 + type; }
constexpr int32_t kBoxlessSet = kPack * 1024 + 12;
constexpr int32_t kPickupSet = kPack * 1024 + 13;
constexpr int32_t kSize = 16;
constexpr int32_t kStepMs = 40;
constexpr int32_t kFallStep = 4;
constexpr int32_t kWalkStep = 2;

void writePlayPack(const std::filesystem::path& rsc);

// The play pack's animation sets, for other fixture packs.
content::Bytes mainSetBytes();
content::Bytes barrierSetBytes(int boxType);
content::Bytes pickupSetBytes();

}  // namespace gametest::play
