#pragma once

#include <cstdint>
#include <initializer_list>

#include "VMClassKit.h"
#include "java_lang_String.h"
#include "ui_Scene.h"

namespace scene::menu {

// The scene of every front-end screen, one page at a time: 2 main menu,
// 3 tier, 4 group, 5 stage (the level board), 6 options, 7 help (three
// sub-pages), 8 about, 9 exit, 10 sound question, 11 language, 21 one
// award, 22 the award gallery. A page is a background screen built one
// load step at a time (steps counted down from the page's count; pages 5
// and 22 run their stage and award steps 6.. in between) and a menu box
// (a list, a board or a plain box with one back item).
//
// Choices are polled once a frame by the page's handler, at most one a
// frame: the touched id of the menu box in the frame of a release, or a
// hit on a box of the background (pages 5 and 22). Going to page p is
// setPage(p) and restart(): the old background is cleared without giving
// its cache entries back (the next page finds its art cached), the old
// box is disposed, and the new page loads at once. `tier`, `group`,
// `stage` and `selection` travel from page to page; starting a level
// copies the coordinates to main.Game and asks for scene 34.
//
// The award page shows an award earned when the gallery does: both read
// the progress flag of the award's place in the gallery order.
class MenuScene : public ui::Scene {
  VM_CLASS(MenuScene, ui::Scene)

 public:
  using String = java::lang::String;
  using Ints = VMArray<int32_t>;
  static constexpr int32_t kCentreX = 120;
  static constexpr int32_t kCentreY = 160;
  static constexpr int32_t kBoxDepth = 50;
  static constexpr int32_t kLightColour = 0xE3CA83;
  static constexpr int32_t kPlayScene = 34;
  static constexpr int32_t kAwards = 12;
  static constexpr int32_t kStages = 5;
  // The progress flag of award a is kAwardFlags + a.
  static constexpr int32_t kAwardFlags = 250;
  // Award box i of the gallery shows award kAwardOrder[i].
  static constexpr int32_t kAwardOrder[kAwards] = {4, 3, 10, 9, 2, 1, 8, 7, 0, 5, 6, 11};

  // Page `page` with main.Game's level coordinates; glyph set 0 selected
  // and glyph set 1 dropped.
  VMPtr<MenuScene> _VM_init(int32_t page);

  void prepareStep() override { prepareCounter = 0; }
  // The base update, then the page's handler unless still loading.
  void update() override;
  // One step of the page's background.
  void loadStep() override;
  void paintBackground(VMPtr<Graphics>) override {}
  // The page's menu box.
  void createWidgets() override;
  // Rebuilds the scene for `page` within the frame.
  void restart() override;
  virtual void setPage(int32_t p) { page = p; }

  // T(15) "\n" T(16) "1.32.0" "\n\n" T(56).
  VMPtr<String> aboutText();

  int32_t page;
  int32_t tier;
  int32_t group;
  int32_t stage;
  int32_t selection;

 private:
  // --- Backgrounds (scene_menu_MenuScene.pages.cpp) ---
  void beginBackground();
  void backgroundStep(int32_t step);
  void tierSteps(int32_t step);
  void stageBoardSteps(int32_t step);
  void stageStep(int32_t stage);
  void textPageSteps(int32_t step, int32_t frame);
  void galleryStep(int32_t step);
  // F(g, a, f, x, y): frame f of animation set a over sprite set g.
  void frameLayer(int32_t gobs, int32_t animSet, int32_t frame, int32_t x, int32_t y);
  // R(l, b): the rectangle of box type b of layer l into `rect`.
  VMPtr<Ints> layerRect(int32_t layer, int32_t box);
  // The light rectangle over box b of layer l.
  void lightRect(int32_t layer, int32_t box);
  void awardPicture(VMPtr<Ints> r, int32_t box);

  // --- Menu boxes (scene_menu_MenuScene.cpp) ---
  VMPtr<String> textOf(int32_t id);
  static VMPtr<Ints> idArray(std::initializer_list<int32_t> ids);
  void listBox(int32_t layer, std::initializer_list<int32_t> ids, bool board, int32_t firstLock, int32_t lockStep);
  void boardBox(std::initializer_list<int32_t> titles, int32_t frame, VMPtr<String> text,
                std::initializer_list<int32_t> ids, bool scrollable);
  void backItemBox(int32_t box);
  void addBox(VMPtr<ui::Addon> box);

  // --- Page handlers (scene_menu_MenuScene.choices.cpp) ---
  void handlePage();
  void goTo(int32_t p);
  bool released();
  bool down();
  void mainMenu(int32_t id);
  void levelList();
  void stageBoard();
  void gallery();
  // A hit on the boxes 0 .. count - 1 of layer 2 moves the highlight; the
  // hit box, or -1.
  int32_t boardHit(int32_t count, int32_t backBox, bool skipLocked);
  void options(int32_t id);
  void help(int32_t id);
  void helpSubPage(int32_t step);
  void about(int32_t id);
  void exitPage(int32_t id);
  void sound(int32_t id);
  void language(int32_t id);
  void award(int32_t id);
  void scrollText(bool downFirst);
};

}  // namespace scene::menu
