#pragma once

// A level for game objects and barriers, in process: the play tests'
// environment with the play pack, level 0 written and loaded through the
// controller's loader, a map layer whose pool the objects use, and a
// current scene whose 40 ms frame time the objects' ticks read. The test
// is the camera: it writes the loader's per-view pairs.
//
// The world level: cells 16 x 8 pixels, 64 x 40 cells (320 pixels high;
// bottom limits 152 on the upper half, 312 on the whole map), point B
// (20, 50), point A (20, 200), and four scaled records in stored order:
//   kSolidBlock  (200, 60, 32, 40) mode 1
//   kPlatform    (0, 100, 160, 8)  mode 0
//   kDeadlyZone  (300, 100, 64, 6) mode 2
//   kLowPlatform (0, 250, 160, 8)  mode 0

#include <cstdint>

#include "PlayEnv.h"
#include "PlayFixtures.h"
#include "ScreenEnv.h"
#include "scene_maingame_InGameBarrier.h"
#include "scene_maingame_InGameObject.h"
#include "tq_CellLayer.h"

namespace gametest {

struct PlayWorld {
  using InGameObject = scene::maingame::InGameObject;
  using InGameBarrier = scene::maingame::InGameBarrier;

  static constexpr int32_t kSolidBlock = 0;
  static constexpr int32_t kPlatform = 1;
  static constexpr int32_t kDeadlyZone = 2;
  static constexpr int32_t kLowPlatform = 3;
  static constexpr int32_t kPlatformTop = 100;
  static constexpr int32_t kPlatformRight = 160;
  static constexpr int32_t kMapHeight = 320;
  static constexpr int32_t kPoolHandles = 64;

  // The world level, or `level` when given, as level 0; tier as given.
  explicit PlayWorld(int32_t tier = 0, const content::Bytes* level = nullptr);
  ~PlayWorld();

  // The world level's bytes (with `groups` added after its own).
  static content::Bytes worldLevel(std::vector<LevelEntityGroup> groups = {});

  // A main object of two layers, layer 0 the main set's `animation` at
  // (x, y).
  VMPtr<InGameObject> object(int32_t x, int32_t y, int32_t animation = InGameObject::kFall);
  // A barrier of two layers over `animSetId`, animation 0 at (x, y).
  VMPtr<InGameBarrier> barrier(int32_t animSetId, int32_t kind, int32_t x, int32_t y);
  // The view's camera (view 0 shows the upper half of the map).
  void camera(int32_t view, int32_t x, int32_t y);
  // `frames` ticks of the object.
  static void tick(const VMPtr<InGameObject>& o, int32_t frames = 1);

  PlayEnv env;
  VMPtr<FrameScene> scene;
  VMPtr<tq::CellLayer> map;
  VMPtr<ui::LevelLoader> loader;
};

// Layer 0's player of an object, for reading and placing it.
VMPtr<tq::AnimPlayer> playerOf(const VMPtr<scene::maingame::InGameObject>& o);

}  // namespace gametest
