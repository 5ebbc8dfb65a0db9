#pragma once

// The built levels played in process by the game's own objects: the
// game's resource folder built from the manifest into a program folder, a
// test VM, the game canvas and controller, and the play scene's per-frame
// rules around the real main objects and barriers (the forward step of 5
// pixels a 40 ms frame, the taps of a solution, the camera with its
// catch-up rule and its end-of-map test, the objects' ticks), so that a
// level's solution can be checked, and planned, before the play scene
// runs it. Pick-ups are left out: they live in the interface pack and
// never stop a runner.

#include <cstdint>
#include <string>
#include <vector>

#include "PackFixtures.h"
#include "PlayLevels.h"
#include "main_CommonCanvas.h"
#include "main_Main.h"
#include "ui_LevelLoader.h"

namespace gamecontenttest {

// What became of the runners, frame by frame.
struct PlayRun {
  bool completed = false;  // both runners passed the map's right end
  int frames = 0;          // playing frames run
  // The first frame in which each runner (0 object A, 1 object B) was hit,
  // pushed back by something solid, or died; 0 for none.
  int trouble[2] = {0, 0};
  std::string what[2];
  int livesLeft[2] = {0, 0};
  int firstTrouble() const;  // the earlier of the two, 0 for none
};

class LevelPlay {
 public:
  // The one of the test process (one VM, one controller).
  static LevelPlay& shared();

  // Builds rsc/ from the game's manifest into a program folder of its own.
  LevelPlay();
  ~LevelPlay();
  LevelPlay(const LevelPlay&) = delete;
  LevelPlay& operator=(const LevelPlay&) = delete;

  // Plays level n at a tier with the taps, until both runners pass the end,
  // a runner is knocked out, or `maxFrames`; with `stopAtTrouble`, stops
  // at the first trouble.
  PlayRun play(int level, int tier, const std::vector<gamecontent::Tap>& taps, bool stopAtTrouble = false,
               int maxFrames = 3000);
  // Level n loaded through the controller's level loader, afresh.
  VMPtr<ui::LevelLoader> load(int level);
  // A solution found by trying jumps before each trouble, in the middle of
  // the frames that clear it; empty with `ok` false when none is found.
  std::vector<gamecontent::Tap> plan(int level, bool& ok);
  // What the last plan that failed could not clear.
  const std::string& planFailure() const { return failure_; }

 private:
  PlayRun playRound(int level, int tier, const std::vector<gamecontent::Tap>& taps, bool stopAtTrouble, int maxFrames);

  pack_fixtures::ProgramFolder folder_;
  bool vmStarted_;
  VMPtr<main::CommonCanvas> canvas_;
  VMPtr<main::Main> controller_;
  std::string failure_;
};

}  // namespace gamecontenttest
