#pragma once

#include <cstdint>
#include <vector>

#include "ByteWriter.h"

namespace content {

// One step of an animation: a frame shown at an offset for a duration.
struct AnimationStep {
  int frame = 0;     // index into the set's frames, 0..1023
  int dx = 0;        // -512..511
  int dy = 0;        // -512..511
  int duration = 0;  // index into the set's durations, 0..63
  int priority = 0;  // display priority 0..3
  int blend = 0;     // blend flags 0..3 (non-zero: move smoothly towards the next step)
  bool operator==(const AnimationStep&) const = default;
};

struct Animation {
  int loops = 0;  // -32..31: negative endless, 0 never advances, n plays n times
  std::vector<AnimationStep> steps;  // at most 1023
  bool operator==(const Animation&) const = default;
};

// A sprite of the paired sprite set, drawn at an offset, maybe mirrored.
struct FramePart {
  int sprite = 0;     // 0..1023
  int dx = 0;         // -512..511
  int dy = 0;         // -512..511
  int transform = 0;  // 0..3: 1 mirror vertically, 2 mirror horizontally
  bool operator==(const FramePart&) const = default;
};

struct FrameBox {
  int x = 0;       // -1024..1023
  int y = 0;       // -1024..1023
  int width = 0;   // 0..1023
  int height = 0;  // 0..1023
  bool circle = false;
  int type = 0;    // 0..31
  bool operator==(const FrameBox&) const = default;
};

struct AnimationFrame {
  std::vector<FramePart> parts;  // at most 255
  std::vector<FrameBox> boxes;   // at most 255
  bool operator==(const AnimationFrame&) const = default;
};

// An animation set (also the canvas's sprite data resource, which has the
// same layout).
struct AnimationSet {
  std::vector<Animation> animations;  // at most 65535
  std::vector<AnimationFrame> frames; // at most 65535
  std::vector<int> durations;         // each 1..65535; at most 65535
  bool operator==(const AnimationSet&) const = default;
};

// The animation set resource: an ignored byte, then the animations, steps,
// frames, parts, boxes and durations in the engine's record order, counts
// and indices in the U form and offsets in the S form. Refuses a value
// outside its packed field, naming it ("animation 2, step 5, dx"), a step
// whose frame or duration index has no entry, a duration of 0, and a first
// step, part or box index past the 16-bit start fields. With
// `spriteData`, box starts are limited to 32767 (the canvas keeps them as
// signed shorts).
Bytes writeAnimationSet(const AnimationSet& set, bool spriteData = false);

}  // namespace content
