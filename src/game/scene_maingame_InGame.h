#pragma once

#include <cstdint>
#include <initializer_list>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_String.h"
#include "scene_maingame_InGameBarrier.h"
#include "scene_maingame_InGameObject.h"
#include "tq_CellLayer.h"
#include "ui_Addon.h"
#include "ui_LevelLoader.h"
#include "ui_Scene.h"
#include "ui_Screen.h"

namespace scene::maingame {

// The play scene: one level shown as two stacked views of the same tile
// map, the upper following main object B, the lower main object A, with
// the level's barriers and pick-ups, a 16-layer HUD, a counter box, an
// overlay panel and a pause menu.
//
// `update` is a state machine over `state` and `subStep`:
//   0 loading, one step a frame (steps 0..10; a first load runs 0, 1, 2,
//     3, 4, 5, 6, 7, 7, 9, 10, 10, 8, a restart 0..7, 9, 10, 8 and
//     re-places the objects it already has);
//   1 playing: the HUD's touch regions, the forward step, the level-end
//     test, the camera, the objects' tick and the counter text;
//   2 a menu (pause, level failed, results) and its confirmation boards;
//   3 the level-failed sequence;
//   4 the results tally.
//
// HUD layers: 0 and 1 the control frames of A and B (boxes 1..4 are the
// jump and drop regions), 2 the counter frame (box 0 the counter text), 3
// the pause button (box 5), 4 and 10 the life-icon holders of A and B
// with their icons in 5..9 and 11..15.
//
// The map layer's sprite pool holds one handle per pick-up, six per
// barrier (a thrower and up to five children) and one per main object.
// Canvas thread only.
class InGame : public ui::Scene {
  VM_CLASS(InGame, ui::Scene)

 public:
  using Ints = VMArray<int32_t>;
  using Barriers = VMArray<InGameBarrier>;
  using String = java::lang::String;

  // States of `state`.
  enum PlayState : int32_t { kLoading = 0, kPlaying = 1, kMenu = 2, kLevelEnd = 3, kResults = 4 };

  static constexpr int32_t kScreenWidth = 240;
  static constexpr int32_t kScreenHeight = 320;
  static constexpr int32_t kViewWidth = 240;
  static constexpr int32_t kViewHeight = 160;
  static constexpr int32_t kHudLayers = 16;
  static constexpr int32_t kOverlayLayers = 2;
  static constexpr int32_t kHudDepth = 41;
  static constexpr int32_t kCounterDepth = 42;
  static constexpr int32_t kOverlayDepth = 43;
  static constexpr int32_t kMenuDepth = 44;
  static constexpr int32_t kBoardDepth = 50;
  static constexpr int32_t kRecordTypes = 18;
  static constexpr int32_t kTiers = 5;
  static constexpr int32_t kIcons = 5;
  // Far tile sheet: a row of 15 tiles, repeated three times, 20 rows.
  static constexpr int32_t kFarTilesPerRow = 15;
  static constexpr int32_t kFarColumns = 45;
  static constexpr int32_t kFarRows = 20;
  // Pool handles per barrier: the barrier and up to five children.
  static constexpr int32_t kHandlesPerBarrier = 1 + InGameBarrier::kChildren;
  static constexpr int32_t kItemsPerLevel = 15;
  // Pixels per second of the forward step: 5 px per 40 ms.
  static constexpr int32_t kStepPixels = 5;
  static constexpr int32_t kStepMs = 40;

  // HUD graphics.
  static constexpr int32_t kHudGobs = 0x0C07;
  static constexpr int32_t kHudFrames = 0x0C02;
  static constexpr int32_t kPanelGobs = 0x0C09;
  static constexpr int32_t kPanelFrames = 0x0C04;
  static constexpr int32_t kItemGobs = 0x0C08;
  static constexpr int32_t kItemAnims = 0x0C03;

  // Resource ids per tier.
  static constexpr int32_t kObjectAGobs[kTiers] = {0x1803, 0x1C03, 0x2003, 0x1404, 0x1403};
  static constexpr int32_t kObjectAAnims[kTiers] = {0x1800, 0x1C00, 0x2000, 0x1401, 0x1400};
  static constexpr int32_t kObjectBGobs[kTiers] = {0x1804, 0x1C04, 0x2004, 0x2403, 0x2404};
  static constexpr int32_t kObjectBAnims[kTiers] = {0x1801, 0x1C01, 0x2001, 0x2400, 0x2401};
  static constexpr int32_t kIconGobs[kTiers] = {0x1407, 0x1807, 0x1C07, 0x2007, 0x2407};
  static constexpr int32_t kIconAnims[kTiers] = {0x1402, 0x1802, 0x1C02, 0x2002, 0x2402};
  // Far tile image per group; group 4 gets a black sheet instead.
  static constexpr int32_t kFarImages[4] = {0x2C0F, 0x3022, 0x3413, 0x3818};

  // The play scene of the level in main.Game's coordinates, state 0.
  VMPtr<InGame> _VM_init();
  // The same; the mode has no further effect.
  VMPtr<InGame> _VM_init(int32_t mode);
  static void _VM_clinit();

  // --- Frame loop (scene_maingame_InGame.play.cpp) -----------------------
  // The base update, then (unless still suspended) the state's handler.
  void update() override;
  // One step of the HUD build-up: 0, 9, 8, ..., 1.
  void loadStep() override;
  void prepareStep() override { prepareCounter = 0; }
  // Upper view (B's cameras), lower view (A's), the divider.
  void paintBackground(VMPtr<Graphics> g) override;
  void enter() override {}
  // State 3: only the overlay and the menu box; states 1, 2, 4 the scene.
  void paint(VMPtr<Graphics> g) override;
  // The scene's objects, then the layers and the overlay and menu.
  void removeAllObjects() override;
  // The counter box and the hidden pause list.
  void createWidgets() override;

  // One playing frame: touch regions, the level-end test, the forward
  // step and the camera.
  virtual void updatePlaying();
  // Ticks every object of the level and refreshes the life icons.
  virtual void tickObjects();
  // Scrolls both views after their objects.
  virtual void updateCamera();

  // --- Loading (scene_maingame_InGame.loading.cpp) -----------------------
  // The loading step of `subStep`.
  virtual void loadLevelStep();

  void _VM_markReferences(int colour) override;

  // Resource ids of the sprite set and animation set per record type.
  static VMStatic<Ints> gobIdsByKind;
  static VMStatic<Ints> animIdsByKind;

  VMField<Ints> viewX;
  VMField<Ints> viewY;
  int32_t viewHeight;
  VMField<ui::Screen> overlay;
  VMField<ui::Addon> pauseMenu;
  VMField<tq::CellLayer> mapLayer;
  int32_t tallyTimer;
  VMField<Barriers> barriers;
  uint8_t skipRequested;
  int32_t pauseSelection;
  VMField<tq::CellLayer> frontLayer;
  int32_t viewWidth;
  int32_t subStep;
  int32_t state;
  VMField<Ints> unlockList;
  VMField<Barriers> pickups;
  VMField<InGameObject> objectA;
  VMField<InGameObject> objectB;
  VMField<ui::LevelLoader> loader;
  VMField<tq::CellLayer> farLayer;

 protected:
  // Loading steps.
  // 0; false when the level cannot be loaded and the scene has changed.
  bool startLevel();
  void setUpFarLayer();        // 1
  void setUpMapLayer();        // 2
  void setUpFrontLayer();      // 3
  void placeObjectA();         // 4
  void placeObjectB();         // 5
  void placePickups();         // 6
  void makePickups();          // 7
  void finishLevelLoading();   // 8
  void placeBarriers();        // 9
  void makeBarriers();         // 10
  void placeMainObject(VMField<InGameObject>& field, VMStatic<InGameObject>& main, int32_t gobs, int32_t anims,
                       int32_t x, int32_t y, bool upperHalf);
  // The HUD's frames and icons as the build-up left them.
  void resetHud();
  // A life-icon holder (panel frame `holderFrame` at (x, 0)) as layer
  // `holder` and its five icons (frame `iconFrame`) after it.
  void addIconRow(VMPtr<ui::Screen> hud, int32_t holder, int32_t holderFrame, int32_t x, int32_t iconFrame);
  // Landscape records of one family as animated cells of `layer`.
  void placeLandscape(VMPtr<tq::CellLayer> layer, VMPtr<Ints> kinds, VMPtr<Ints> variants, VMPtr<Ints> xs,
                      VMPtr<Ints> ys, int32_t count);
  // One view: the far layer, the front layer (if any) and the map.
  void paintView(VMPtr<Graphics> g, int32_t farX, int32_t farY, int32_t mapX, int32_t mapY);
  // handles: items + 6 * barriers + 2.
  int32_t poolCapacity();
  // "k/15" in the counter box.
  void showCount(int32_t k);
  // The rectangle of box `box` of `s`'s layer `layer` into `rect`.
  VMPtr<Ints> layerRect(VMPtr<ui::Screen> s, int32_t layer, int32_t box);
  // Text `id` of the scene's translation.
  VMPtr<String> textOf(int32_t id);
  // Element 0 of the pointer's released flags.
  static bool tapPending();
  // Element 0 of the pointer's down flags.
  static bool pointerDown();
  static void debugLine(const char* text);
  static VMPtr<Ints> idArray(std::initializer_list<int32_t> ids);

  // --- Pause menu, level end and results tally ---------------------------
  // (scene_maingame_InGame.pause.cpp, .failed.cpp, .results.cpp)
  //
  // `pauseMenu` holds the menu shown in state 2: the pause list (rows 32
  // resume, 45 restart, 1 quit), the level-failed list (45, 9), the
  // results list (40 next level, 3 play again) or a confirmation board
  // (answers 38 cancel, 37 confirm). While a menu is open it is the last
  // object of the scene's list; a menu is replaced, never reused.
 public:
  // Sub-steps of state 2 that updatePauseMenu handles itself; the others
  // (2 rows, 40 resume, 41 and 42 boards) go to handleMenuChoice.
  enum MenuStep : int32_t {
    kMenuRestartBoard = 11,
    kMenuQuitBoard = 12,
    kMenuRestart = 13,
    kMenuBackToLevelEnd = 14,
    kMenuPlayAgain = 15,
    kMenuNextLevel = 16,
    kMenuRows = 2,
    kMenuResume = 40,
    kMenuRestartAsked = 41,
    kMenuQuitAsked = 42,
    kMenuCancelled = 43,
    kMenuRestartKept = 44,
  };
  // Row and answer ids (text ids of the translation).
  static constexpr int32_t kRowQuit = 1;
  static constexpr int32_t kRowPlayAgain = 3;
  static constexpr int32_t kRowContinue = 9;
  static constexpr int32_t kRowResume = 32;
  static constexpr int32_t kRowNextLevel = 40;
  static constexpr int32_t kRowRestart = 45;
  static constexpr int32_t kAnswerConfirm = 37;
  static constexpr int32_t kAnswerCancel = 38;
  // Scene ids a menu leads to.
  static constexpr int32_t kGroupPage = 4;
  static constexpr int32_t kStagePage = 5;
  static constexpr int32_t kNextLevelScene = 34;
  static constexpr int32_t kMainMenu = 2;

  // In state 1 only: stops the sounds and opens the menu at sub-step 2.
  void pause() override;
  // State 2: the menu sub-steps it handles itself, else handleMenuChoice.
  virtual void updatePauseMenu();
  // State 2: a tapped row, the boards' answers, resume.
  virtual void handleMenuChoice();
  // State 3: the level-failed sequence, steps 0..11.
  virtual void updateLevelEnd();
  // State 4: the results tally, steps 0..33.
  virtual void updateResults();

 protected:
  // Sub-steps 11 and 12: the confirmation board for restart or quit.
  void showConfirmBoard(int32_t step);
  // Sub-step 13: back to loading step 0.
  void restartLevel();
  // Sub-step 44: back to loading step 1, the level data kept.
  void restartWithoutReload();
  // Sub-step 16: the next level's coordinates and scene.
  void nextLevel();
  // A new list menu in `pauseMenu`; finishListMenu gives it its rows
  // `ids` in `bounds`, shows or hides it and adds it to the scene.
  VMPtr<ui::Addon> newListMenu();
  void finishListMenu(VMPtr<ui::Addon> list, std::initializer_list<int32_t> ids, VMPtr<Ints> bounds, bool visible);
  // The pause list: rows 32, 45, 1 in the overlay's panel.
  void buildPauseList(bool visible);
  // The last object of the list, then `pauseMenu`.
  void removeMenu();
  // Shows or hides `overlay`, then `pauseMenu`.
  void showMenu(bool visible);
  // Adds `o` to the list, compacts it and sorts the draw order.
  void showObject(VMPtr<ui::MyObject> o);
  // Level end: the failed menu (step 0), the panel (2..8), the close (9).
  void buildFailedMenu();
  void buildFailedPanel(int32_t step);
  void buildClosing();
  // Results: the first frame (0), the rows (1..10), the count (11..26),
  // one award (29), the results menu (31).
  void showTallyStart();
  void showMarker(int32_t step);
  void showCountStep(int32_t step);
  void showAward();
  void buildResultsMenu();
  // One timed tally step (0..26): its work in its first frame, then the
  // frame time; a skip or the step's time ends it.
  void runTimedStep();
  // The step after timed step `step`.
  int32_t nextTallyStep(int32_t step);
  // `rect` filled with (x, y, w, h).
  VMPtr<Ints> scratchRect(int32_t x, int32_t y, int32_t w, int32_t h);
  // Switches the scene manager to scene `id`.
  void changeSceneTo(int32_t id);
  // A level that cannot be loaded (level coordinates out of range, a level
  // missing from the packs or unreadable): prints an error line naming the
  // level and the cause on System.err and leaves for the stage page, or the
  // main menu when no level has been chosen.
  void leaveUnloadableLevel(const char* cause, VMPtr<java::lang::Throwable> thrown);
  // The controller's stopAllSounds.
  static void stopSounds();
};

}  // namespace scene::maingame
