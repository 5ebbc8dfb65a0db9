#pragma once

// The play scene's menu states driven frame by frame (PlaySceneEnv) over
// the menu-state content (MenuStatePacks.h): taps as a press frame and a
// release frame, aimed at the centre of a row of the scene's menu or at
// the HUD's pause button.

#include <array>
#include <cstdint>
#include <functional>

#include "MenuStatePacks.h"
#include "PlaySceneEnv.h"

namespace gametest {

// The centre of row or answer `id` of `box` (a failure when it has none).
std::array<int32_t, 2> rowCentre(const VMPtr<ui::Addon>& box, int32_t id);

struct MenuStateEnv : PlaySceneEnv {
  explicit MenuStateEnv(const content::Bytes& level, int32_t tier = 0, int32_t group = 0, int32_t stage = 0);

  // Press (a frame), release (a frame), a frame: the scene sees the
  // finger down in the second frame and the release in the third.
  void tap(std::array<int32_t, 2> at);
  // The centre of the row or answer `id` of the scene's `pauseMenu`.
  std::array<int32_t, 2> rowCentre(int32_t id) { return gametest::rowCentre(VMPtr<InGame>(scene())->pauseMenu, id); }
  void tapRow(int32_t id) { tap(rowCentre(id)); }
  // A tap on the HUD's pause button: the press pauses.
  void tapPause();
  // Frames until `done` holds (at most `limit`), their number.
  int32_t framesUntil(const std::function<bool()>& done, int32_t limit = 500);
  // Frames until the play scene is in `state` at `step`.
  int32_t framesUntilStep(int32_t state, int32_t step, int32_t limit = 500);
};

// The level of 16 x 16 cells both objects walk through.
content::Bytes flatLevel();
// The same with a deadly zone on the upper platform, ahead of object A.
content::Bytes deadlyLevel();

}  // namespace gametest
