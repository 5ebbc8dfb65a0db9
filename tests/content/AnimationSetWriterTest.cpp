#include <gtest/gtest.h>

#include <functional>

#include "AnimationSetWriter.h"
#include "TestBytes.h"

namespace content {
namespace {

AnimationSet smallSet() {
  AnimationSet set;
  set.durations = {1, 300};
  Animation a;
  a.loops = -1;
  a.steps = {{0, -128, -127, 1, 3, 0}, {0, 127, 511, 0, 0, 1}};
  set.animations = {a};
  AnimationFrame f;
  f.parts = {{0, 0, 0, 3}, {254, 0, 0, 3}, {255, 0, 0, 3}, {1023, 0, 0, 3}, {1, -512, 127, 1}};
  f.boxes = {{-1024, 1023, 1023, 0, true, 31}};
  set.frames = {f};
  return set;
}

TEST(AnimationSetWriter, WritesTheRecordsWithCompactEscapes) {
  const Bytes expected = hexBytes(
      "00"
      "0001 02 FF"                 // one animation of two steps, loops -1
      "C1 FF0100"                  // priority 3 duration 1; blend 1 duration 0 (256: escaped)
      "00 00"                      // frame indices
      "80FF80 7F"                  // dx -128 (escaped), 127
      "81 8001FF"                  // dy -127, 511 (escaped)
      "0001 05"                    // one frame of five parts
      "FF00FF 40"                  // transforms 3,3,3,3 (255: escaped) then 1
      "00 FE FF00FF FF03FF 01"     // sprites 0, 254, 255, 1023, 1
      "00 00 00 00 80FE00"         // part dx, the last -512
      "00 00 00 00 7F"             // part dy
      "01"                         // one box
      "80FC00 8003FF FF03FF 00 3F" // x -1024, y 1023, width 1023, height 0, type 31 circle
      "0002 01 FF012C");           // durations 1 and 300
  EXPECT_EQ(hexText(writeAnimationSet(smallSet())), hexText(expected));
}

TEST(AnimationSetWriter, EmptySetIsItsCounts) {
  EXPECT_EQ(writeAnimationSet({}), hexBytes("00 0000 0000 0000"));
}

TEST(AnimationSetWriter, ZeroLoopsAndBoxlessFramesAreKept) {
  AnimationSet set;
  set.durations = {254};
  set.animations = {Animation{0, {{0, 0, 0, 0, 0, 0}}}};
  set.frames = {AnimationFrame{}};
  EXPECT_EQ(writeAnimationSet(set), hexBytes("00 0001 01 00 00 00 00 00 0001 00 00 0001 FE"));
}

TEST(AnimationSetWriter, RefusesValuesOutsideTheirFieldsNamingThem) {
  struct Case {
    const char* item;
    std::function<void(AnimationSet&)> breakIt;
  } cases[] = {
      {"animation 0, loops", [](AnimationSet& s) { s.animations[0].loops = 32; }},
      {"animation 0, step count", [](AnimationSet& s) { s.animations[0].steps.resize(1024); }},
      {"animation 0, step 1, frame", [](AnimationSet& s) { s.animations[0].steps[1].frame = 1; }},
      {"animation 0, step 0, dx", [](AnimationSet& s) { s.animations[0].steps[0].dx = 512; }},
      {"animation 0, step 0, dy", [](AnimationSet& s) { s.animations[0].steps[0].dy = -513; }},
      {"animation 0, step 1, duration", [](AnimationSet& s) { s.animations[0].steps[1].duration = 2; }},
      {"animation 0, step 1, duration",
       [](AnimationSet& s) { s.durations.resize(65, 1), s.animations[0].steps[1].duration = 64; }},
      {"animation 0, step 0, priority", [](AnimationSet& s) { s.animations[0].steps[0].priority = 4; }},
      {"animation 0, step 0, blend", [](AnimationSet& s) { s.animations[0].steps[0].blend = 4; }},
      {"duration 1", [](AnimationSet& s) { s.durations[1] = 0; }},
      {"duration 0", [](AnimationSet& s) { s.durations[0] = 65536; }},
      {"frame 0, part count", [](AnimationSet& s) { s.frames[0].parts.resize(256); }},
      {"frame 0, part 3, sprite", [](AnimationSet& s) { s.frames[0].parts[3].sprite = 1024; }},
      {"frame 0, part 4, dx", [](AnimationSet& s) { s.frames[0].parts[4].dx = -513; }},
      {"frame 0, part 4, transform", [](AnimationSet& s) { s.frames[0].parts[4].transform = 4; }},
      {"frame 0, box count", [](AnimationSet& s) { s.frames[0].boxes.resize(256); }},
      {"frame 0, box 0, x", [](AnimationSet& s) { s.frames[0].boxes[0].x = -1025; }},
      {"frame 0, box 0, y", [](AnimationSet& s) { s.frames[0].boxes[0].y = 1024; }},
      {"frame 0, box 0, width", [](AnimationSet& s) { s.frames[0].boxes[0].width = 1024; }},
      {"frame 0, box 0, height", [](AnimationSet& s) { s.frames[0].boxes[0].height = -1; }},
      {"frame 0, box 0, type", [](AnimationSet& s) { s.frames[0].boxes[0].type = 32; }},
      {"frame count", [](AnimationSet& s) { s.frames.resize(65536); }},
  };
  for (const Case& c : cases) {
    AnimationSet set = smallSet();
    c.breakIt(set);
    expectRefusal([&] { writeAnimationSet(set); }, c.item);
  }
}

TEST(AnimationSetWriter, StartIndicesStayWithinTheirSixteenBitFields) {
  AnimationSet steps;
  steps.durations = {1};
  steps.frames = {AnimationFrame{}};
  steps.animations.assign(64, Animation{1, std::vector<AnimationStep>(1023)});
  steps.animations.push_back(Animation{1, std::vector<AnimationStep>(63)});
  steps.animations.push_back(Animation{1, std::vector<AnimationStep>(1)});  // starts at 65535, the last start
  EXPECT_NO_THROW(writeAnimationSet(steps));
  steps.animations.push_back(Animation{1, {}});  // would start at 65536
  expectRefusal([&] { writeAnimationSet(steps); }, "animation 66");

  AnimationSet boxes;
  AnimationFrame full;
  full.boxes.resize(255);
  boxes.frames.assign(129, full);
  EXPECT_NO_THROW(writeAnimationSet(boxes, true));
  boxes.frames.push_back(full);
  EXPECT_NO_THROW(writeAnimationSet(boxes));
  expectRefusal([&] { writeAnimationSet(boxes, true); }, "frame 129, boxes");
}

}  // namespace
}  // namespace content
