#include "DrawableFixtures.h"

namespace drawable_fixtures {

using pack_fixtures::put16;
using pack_fixtures::put32;

void putU(Bytes& out, int32_t v) {
  if (v >= 0 && v < 255) {
    out.push_back(static_cast<uint8_t>(v));
  } else {
    out.push_back(0xFF);
    put16(out, static_cast<uint32_t>(v));
  }
}

void putS(Bytes& out, int32_t v) {
  if (v >= -127 && v <= 127) {
    out.push_back(static_cast<uint8_t>(v));
  } else {
    out.push_back(0x80);
    put16(out, static_cast<uint32_t>(v));
  }
}

Bytes animSetBytes(const AnimSetSpec& spec) {
  Bytes out{0};
  put16(out, static_cast<uint32_t>(spec.anims.size()));
  std::vector<Step> steps;
  for (const Anim& a : spec.anims) {
    putU(out, static_cast<int32_t>(a.steps.size()));
    steps.insert(steps.end(), a.steps.begin(), a.steps.end());
  }
  for (const Anim& a : spec.anims) putS(out, a.loop);
  for (const Step& s : steps) putU(out, s.duration | s.priority << 6 | s.blend << 8);
  for (const Step& s : steps) putU(out, s.frame);
  for (const Step& s : steps) putS(out, s.dx);
  for (const Step& s : steps) putS(out, s.dy);
  put16(out, static_cast<uint32_t>(spec.frames.size()));
  std::vector<Part> parts;
  std::vector<Box> boxes;
  for (const Frame& f : spec.frames) {
    putU(out, static_cast<int32_t>(f.parts.size()));
    parts.insert(parts.end(), f.parts.begin(), f.parts.end());
    boxes.insert(boxes.end(), f.boxes.begin(), f.boxes.end());
  }
  for (size_t i = 0; i < parts.size(); i += 4) {
    int v = 0;
    for (size_t k = 0; k < 4; ++k) v |= (i + k < parts.size() ? parts[i + k].flags & 3 : 0) << (6 - 2 * k);
    putU(out, v);
  }
  for (const Part& p : parts) putU(out, p.gob);
  for (const Part& p : parts) putS(out, p.x);
  for (const Part& p : parts) putS(out, p.y);
  for (const Frame& f : spec.frames) putU(out, static_cast<int32_t>(f.boxes.size()));
  for (const Box& b : boxes) putS(out, b.x);
  for (const Box& b : boxes) putS(out, b.y);
  for (const Box& b : boxes) putU(out, b.w);
  for (const Box& b : boxes) putU(out, b.h);
  for (const Box& b : boxes) putU(out, b.type | (b.circle ? 0x20 : 0));
  put16(out, static_cast<uint32_t>(spec.durations.size()));
  for (int d : spec.durations) putU(out, d);
  return out;
}

namespace {

constexpr int kGroupOf[10] = {0, 0, 1, 1, 1, 1, 2, 2, 2, 2};

}  // namespace

Bytes spriteSetBytes(uint16_t imageIndex, uint16_t layout, const std::vector<SpriteValues>& sprites,
                     const Bytes* attributes) {
  Bytes block;
  for (int v = 0, k = 5; v < 10; ++v) {
    if ((layout >> kGroupOf[v] & 1) != 0) continue;
    const bool oneByte = (layout >> k++ & 1) != 0;
    for (const SpriteValues& s : sprites) {
      if (oneByte) {
        block.push_back(static_cast<uint8_t>(s[v]));
      } else {
        put16(block, static_cast<uint16_t>(s[v]));
      }
    }
  }
  Bytes out;
  put16(out, imageIndex);
  out.push_back(0);
  put16(out, static_cast<uint32_t>(block.size() + 4));
  put16(out, layout);
  put16(out, static_cast<uint32_t>(sprites.size()) | (attributes ? 0x2000 : 0));
  out.insert(out.end(), block.begin(), block.end());
  if (attributes) {
    put16(out, static_cast<uint32_t>(attributes->size() + 5));
    put32(out, 0);
    out.push_back(0);
    out.insert(out.end(), attributes->begin(), attributes->end());
  }
  return out;
}

}  // namespace drawable_fixtures
