#pragma once

// The play scene driven frame by frame as the canvas drives it (keys
// latched, then the controller's update, frames of 40 ms), over the play
// tests' canvas (its level hooks reach the controller's loader) with the
// UI packs, the play scene's packs and translation 0x5000. Taps are fed
// through the canvas as the platform feeds them.

#include <array>
#include <cstdint>
#include <vector>

#include "PlayEnv.h"
#include "PlayScenePacks.h"
#include "scene_SceneManager.h"
#include "scene_maingame_InGame.h"

namespace gametest {

// The four elements of a camera array.
inline std::array<int32_t, 4> four(const VMPtr<VMArray<int32_t>>& a) { return {a->at(0), a->at(1), a->at(2), a->at(3)}; }

struct PlaySceneEnv {
  using InGame = scene::maingame::InGame;
  static constexpr int32_t kFrameMs = 40;

  // `level` as the level of (group, stage), at tier `tier`; the
  // controller's first update (the scene manager and the logo).
  PlaySceneEnv(const content::Bytes& level, int32_t tier = 0, int32_t group = 0, int32_t stage = 0);
  ~PlaySceneEnv();

  void frame();
  void frames(int32_t n) {
    for (int32_t i = 0; i < n; ++i) frame();
  }
  // Changes to scene `id`; the frames run until the scene plays (at most
  // `limit`), their number.
  int32_t start(int32_t id = 34, int32_t limit = 100);
  // Frames until the scene plays again (at most `limit`), their number.
  int32_t framesUntilPlaying(int32_t limit = 100);
  // The current play scene, null when the current scene is another.
  VMPtr<InGame> scene();
  int32_t sceneId() { return scene::SceneManager::instance->sceneId; }

  // The finger goes down (a frame) and stays.
  void press(int32_t x, int32_t y);
  // The finger leaves (a frame).
  void release(int32_t x, int32_t y);

  PlayEnv env;
  bool packs;
};

}  // namespace gametest
