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
};

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
