#include "AnimationSetWriter.h"

#include "ContentError.h"

namespace content {

namespace {

// Refuses an index that names no entry of a table of `count` `what`.
void requireIndex(int index, size_t count, const std::string& item, const std::string& what) {
  require(index >= 0 && static_cast<size_t>(index) < count, item,
          std::to_string(index) + " names no entry of the set's " + std::to_string(count) + " " + what);
}

void checkStep(const AnimationStep& s, const AnimationSet& set, const std::string& item) {
  requireIndex(s.frame, set.frames.size(), item + ", frame", "frames");
  requireRange(s.frame, 0, 1023, item + ", frame");
  requireRange(s.dx, -512, 511, item + ", dx");
  requireRange(s.dy, -512, 511, item + ", dy");
  requireIndex(s.duration, set.durations.size(), item + ", duration", "durations");
  requireRange(s.duration, 0, 63, item + ", duration");
  requireRange(s.priority, 0, 3, item + ", priority");
  requireRange(s.blend, 0, 3, item + ", blend");
}

void checkFrame(const AnimationFrame& f, const std::string& item) {
  requireRange(static_cast<long long>(f.parts.size()), 0, 255, item + ", part count");
  requireRange(static_cast<long long>(f.boxes.size()), 0, 255, item + ", box count");
  for (size_t i = 0; i < f.parts.size(); ++i) {
    const FramePart& p = f.parts[i];
    const std::string part = item + ", " + itemName("part", i);
    requireRange(p.sprite, 0, 1023, part + ", sprite");
    requireRange(p.dx, -512, 511, part + ", dx");
    requireRange(p.dy, -512, 511, part + ", dy");
    requireRange(p.transform, 0, 3, part + ", transform");
  }
  for (size_t i = 0; i < f.boxes.size(); ++i) {
    const FrameBox& b = f.boxes[i];
    const std::string box = item + ", " + itemName("box", i);
    requireRange(b.x, -1024, 1023, box + ", x");
    requireRange(b.y, -1024, 1023, box + ", y");
    requireRange(b.width, 0, 1023, box + ", width");
    requireRange(b.height, 0, 1023, box + ", height");
    requireRange(b.type, 0, 31, box + ", type");
  }
}

// Refuses a table whose entry `index` would start past `limit`.
void checkStart(size_t start, long long limit, const std::string& item) {
  require(static_cast<long long>(start) <= limit, item,
          "starts at " + std::to_string(start) + ", past the start field's " + std::to_string(limit));
}

void check(const AnimationSet& set, bool spriteData) {
  requireRange(static_cast<long long>(set.animations.size()), 0, 0xFFFF, "animation count");
  requireRange(static_cast<long long>(set.frames.size()), 0, 0xFFFF, "frame count");
  requireRange(static_cast<long long>(set.durations.size()), 0, 0xFFFF, "duration count");
  for (size_t i = 0; i < set.durations.size(); ++i) requireRange(set.durations[i], 1, 0xFFFF, itemName("duration", i));
  size_t steps = 0;
  for (size_t a = 0; a < set.animations.size(); ++a) {
    const Animation& anim = set.animations[a];
    const std::string item = itemName("animation", a);
    requireRange(anim.loops, -32, 31, item + ", loops");
    requireRange(static_cast<long long>(anim.steps.size()), 0, 1023, item + ", step count");
    checkStart(steps, 0xFFFF, item);
    for (size_t s = 0; s < anim.steps.size(); ++s) checkStep(anim.steps[s], set, item + ", " + itemName("step", s));
    steps += anim.steps.size();
  }
  size_t parts = 0;
  size_t boxes = 0;
  for (size_t f = 0; f < set.frames.size(); ++f) {
    const std::string item = itemName("frame", f);
    checkFrame(set.frames[f], item);
    checkStart(parts, 0xFFFF, item + ", parts");
    checkStart(boxes, spriteData ? 0x7FFF : 0xFFFF, item + ", boxes");
    parts += set.frames[f].parts.size();
    boxes += set.frames[f].boxes.size();
  }
}

void appendSteps(ByteWriter& out, const std::vector<AnimationStep>& steps) {
  for (const AnimationStep& s : steps) {
    out.compactUnsigned(static_cast<uint32_t>(s.blend << 8 | s.priority << 6 | s.duration));
  }
  for (const AnimationStep& s : steps) out.compactUnsigned(static_cast<uint32_t>(s.frame));
  for (const AnimationStep& s : steps) out.compactSigned(s.dx);
  for (const AnimationStep& s : steps) out.compactSigned(s.dy);
}

void appendParts(ByteWriter& out, const std::vector<FramePart>& parts) {
  for (size_t i = 0; i < parts.size(); i += 4) {
    uint32_t flags = 0;
    for (size_t j = 0; j < 4; ++j) {
      if (i + j < parts.size()) flags |= static_cast<uint32_t>(parts[i + j].transform) << (6 - 2 * j);
    }
    out.compactUnsigned(flags);
  }
  for (const FramePart& p : parts) out.compactUnsigned(static_cast<uint32_t>(p.sprite));
  for (const FramePart& p : parts) out.compactSigned(p.dx);
  for (const FramePart& p : parts) out.compactSigned(p.dy);
}

void appendBoxes(ByteWriter& out, const std::vector<FrameBox>& boxes) {
  for (const FrameBox& b : boxes) out.compactSigned(b.x);
  for (const FrameBox& b : boxes) out.compactSigned(b.y);
  for (const FrameBox& b : boxes) out.compactUnsigned(static_cast<uint32_t>(b.width));
  for (const FrameBox& b : boxes) out.compactUnsigned(static_cast<uint32_t>(b.height));
  for (const FrameBox& b : boxes) out.compactUnsigned(static_cast<uint32_t>(b.type | (b.circle ? 32 : 0)));
}

}  // namespace

Bytes writeAnimationSet(const AnimationSet& set, bool spriteData) {
  check(set, spriteData);
  ByteWriter out;
  out.u8(0);
  out.u16(static_cast<uint32_t>(set.animations.size()));
  std::vector<AnimationStep> steps;
  for (const Animation& a : set.animations) {
    out.compactUnsigned(static_cast<uint32_t>(a.steps.size()));
    steps.insert(steps.end(), a.steps.begin(), a.steps.end());
  }
  for (const Animation& a : set.animations) out.compactSigned(a.loops);
  appendSteps(out, steps);
  out.u16(static_cast<uint32_t>(set.frames.size()));
  std::vector<FramePart> parts;
  std::vector<FrameBox> boxes;
  for (const AnimationFrame& f : set.frames) {
    out.compactUnsigned(static_cast<uint32_t>(f.parts.size()));
    parts.insert(parts.end(), f.parts.begin(), f.parts.end());
    boxes.insert(boxes.end(), f.boxes.begin(), f.boxes.end());
  }
  appendParts(out, parts);
  for (const AnimationFrame& f : set.frames) out.compactUnsigned(static_cast<uint32_t>(f.boxes.size()));
  appendBoxes(out, boxes);
  out.u16(static_cast<uint32_t>(set.durations.size()));
  for (int d : set.durations) out.compactUnsigned(static_cast<uint32_t>(d));
  return out.take();
}

}  // namespace content
