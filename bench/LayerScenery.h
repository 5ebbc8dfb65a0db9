#pragma once

// Scenery the grid-layer and play-scene benchmarks share: opaque pixels of
// a seeded pattern, and a looping four-frame animation over four 16 x 16
// sprites (each anchored at its bottom centre).

#include "DrawableFixtures.h"
#include "PackFixtures.h"
#include "VMJava.h"
#include "tq_AnimSet.h"
#include "tq_Gob.h"
#include "tq_Resources.h"

namespace layer_scenery {

inline VMPtr<VMArray<int32_t>> pixelsOf(int w, int h, unsigned seed) {
  VMPtr<VMArray<int32_t>> argb = VMArray<int32_t>::create(w * h);
  for (int p = 0; p < w * h; ++p) argb->at(p) = static_cast<int32_t>(0xFF000000u | (p * 0x010203u + seed * 977u));
  return argb;
}

// The four sprites go to `sprites`, which the caller keeps reachable.
inline VMPtr<tq::AnimSet> fourFrameLoop(VMPtr<VMArray<tq::Gob>>& sprites) {
  using namespace drawable_fixtures;
  sprites = VMArray<tq::Gob>::create(4);
  for (int i = 0; i < 4; ++i) sprites->set(i, tq::Gob::create(pixelsOf(16, 16, 2 + i), 16, 16, 0));
  AnimSetSpec spec;
  spec.anims = {{-1, {{0, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}}}};
  for (int f = 0; f < 4; ++f) spec.frames.push_back({{{f, -8, -16, 0}}, {}});
  spec.durations = {50};
  VMPtr<VMArray<int8_t>> data = pack_fixtures::javaBytes(animSetBytes(spec));
  VMPtr<tq::AnimSet> set = tq::AnimSet::load(1, tq::Resources::openStream(data, 0, data->length));
  set->setGobs(sprites);
  return set;
}

}  // namespace layer_scenery
