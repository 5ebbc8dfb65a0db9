#pragma once

// The client of the game driver program (jme_game_app, app/GameMIDlet.cpp):
// runs the whole game as a child process from a folder of its own, with
// the fixture packs or the built rsc/ and a fresh or seeded database/,
// sends the driver's commands and reads its answers.

#include <cstdint>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "AppProcess.h"

namespace gameplay {

using Bytes = std::vector<uint8_t>;

// A rectangle in screen coordinates.
struct Rect {
  int32_t x = 0, y = 0, w = 0, h = 0;
  int32_t centreX() const { return x + w / 2; }
  int32_t centreY() const { return y + h / 2; }
};

// A main object of the play scene as the probe shows it.
struct PlayObject {
  bool present = false;
  int32_t state = 0, lives = 0, x = 0, y = 0;
  bool dead = false, hurt = false;
};

// The play HUD's touch regions, in the order the probe lists them.
enum class PlayRegion { kPause, kJumpA, kDropA, kJumpB, kDropB };

// The driver's probe line as fields.
struct Probe {
  std::map<std::string, std::string> fields;

  bool has(const std::string& key) const { return fields.count(key) != 0; }
  // The field's text ("" when absent) and its number (-1000 when absent).
  std::string text(const std::string& key) const;
  int64_t number(const std::string& key) const;
  int64_t scene() const { return number("scene"); }
  int64_t page() const { return number("page"); }
  bool loading() const { return number("loading") == 1; }
  // The menu box's items: id and touch rectangle, in order.
  std::vector<std::pair<int32_t, Rect>> items() const;
  std::vector<int32_t> itemIds() const;
  // The menu box's text area.
  Rect textArea() const;
  // The boxes of the stage board or the gallery.
  std::vector<Rect> boxes() const;

  // The play scene (-1000 outside it): its state (0 loading, 1 playing, 2
  // a menu, 3 the level-failed sequence, 4 the results tally) and sub-step.
  int64_t playState() const { return number("playState"); }
  int64_t subStep() const { return number("subStep"); }
  // A HUD touch region (empty while the HUD is not built).
  Rect region(PlayRegion which) const;
  // "objectA" or "objectB".
  PlayObject object(const std::string& key) const;
  // The level end's awards: the count, then the codes (empty when none).
  std::vector<int32_t> awards() const;
  // The play scene's menu (pause list, board, results list) is showing.
  bool menuShown() const { return number("menuShown") == 1; }
};

// Unlock flags (record store 0) with every tier, group and stage open.
Bytes everythingUnlocked();

// The content a run takes: the fixture packs of tests/game, or the built
// rsc/ beside the program.
enum class Content { kFixturePacks, kBuiltRsc };
const char* contentName(Content content);
void PrintTo(Content content, std::ostream* out);
// Why a run on `content` cannot play (the built rsc/ without the interface
// packs: the game ends at its first paint), or empty.
std::string cannotPlay(Content content);

// The game's MIDlet, as the program's own properties name it.
std::string gameProperties();

// True when the built rsc/ holds the interface packs (the shell's pack 1
// and the menus' packs 3 and 4): without them the game ends at its first
// paint.
bool builtRscHasInterfacePacks();
std::filesystem::path builtRsc();

class GameDriver {
 public:
  GameDriver();

  const std::filesystem::path& folder() const { return app_.folder(); }
  AppProcess& process() { return app_; }

  // Content: the fixture packs of tests/game, or the build's rsc/.
  void useFixturePacks();
  void useBuiltRsc();
  void use(Content content);
  // Database: record store `store` ("0", "1", "2" of main.Game) with one
  // record of `bytes`, written before the start; the bytes of its record
  // (empty when absent).
  void seedRecord(int32_t store, const Bytes& bytes);
  Bytes record(int32_t store) const;

  // Starts the program and waits for "ready"; false when it ended first.
  bool start();
  // One command and its answer ("<eof>" when the program ended).
  std::string send(const std::string& command);
  bool step(int32_t frames) { return send("step " + std::to_string(frames)) == "ok"; }
  bool tap(int32_t x, int32_t y);
  bool tap(const Rect& r) { return tap(r.centreX(), r.centreY()); }
  // Taps the menu item `id` of the current page, then lets two frames
  // run (the release's frame and the page change's); false when the page
  // has no such item.
  bool tapItem(int32_t id);
  bool tapBox(size_t index);
  Probe probe();
  // Steps up to `frames` frames, a few at a time, until the probe shows the
  // menu page `page` loaded (page -1: the scene `scene` loaded).
  bool stepUntilPage(int32_t page, int32_t frames = 400);
  bool stepUntilScene(int32_t scene, int32_t frames = 400);
  // Steps one frame at a time, up to `frames`, until the play scene's
  // state is `state`: true at the gate after the frame that entered it.
  bool stepUntilPlayState(int32_t state, int32_t frames = 400);
  // From the start of a run: the logo, the language page (English), the
  // sound question ("no"), the main menu.
  bool toMainMenu();
  // From the main menu, the way a player goes: play, the tier, the group,
  // the stage's box; then the play scene's loading up to its first playing
  // frame (false when a page or the level is not reached).
  bool playLevel(int32_t tier, int32_t group, int32_t stage);
  bool tap(PlayRegion region);
  // In the results tally: steps until the results menu shows (the play
  // scene's menu state with its list), tapping away each award as it
  // shows; the codes shown, in order, go to `shown`. False when the menu
  // does not come within `frames`.
  bool finishTally(std::vector<int32_t>* shown = nullptr, int32_t frames = 1000);
  // Writes the screen as a PNG and reads it back: RGB 565 pixels, rows top
  // down (empty when it failed).
  std::vector<uint16_t> frame(int32_t* width = nullptr, int32_t* height = nullptr);
  bool close();
  // Waits for the program's end: its exit code (-1: killed or timed out).
  int wait(int timeoutMs = 10000) { return app_.wait(timeoutMs); }

 private:
  AppProcess app_;
  int32_t frames_ = 0;
};

}  // namespace gameplay
