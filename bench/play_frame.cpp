// One play frame of the real game on the built rsc/, side by side with the
// natural alternative:
//
//   PlayFrame: the game's tick and paint of one frame (the canvas's latch,
//       the controller's update, its paint into the 240 x 320 screen
//       image) while the busiest level of the built rsc/ (the most item,
//       barrier and landscape records) plays untouched at tier 0; when it
//       ends (completed or failed) the level starts again, outside the
//       timing.
//   PlainFrame: the same frames' drawing without the game: the visible
//       tiles and sprites (every drawRegion, drawImage, fill, line, clip,
//       translate and draw mode of 200 recorded play frames) replayed in
//       a plain loop on the same image (the set-up checks that a replayed
//       frame gives the game's picture).
//
// Needs the built rsc/ beside the program (build target jme_rsc).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "HALGraphics.h"
#include "PackFixtures.h"
#include "VMTestEnv.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "javax_microedition_lcdui_Image.h"
#include "main_CommonCanvas.h"
#include "main_Game.h"
#include "main_Main.h"
#include "scene_SceneManager.h"
#include "scene_maingame_InGame.h"
#include "tq_Resources.h"
#include "tq_input_PointerInputEventManager.h"
#include "tq_input_PointerInputKeyManager.h"
#include "ui_LevelLoader.h"

using Graphics = javax::microedition::lcdui::Graphics;
using Image = javax::microedition::lcdui::Image;
using main::Main;
using scene::maingame::InGame;
using tq::input::PointerInputEventManager;
using tq::input::PointerInputKeyManager;

namespace benchplay {

// One drawing call of a paint, as the plain loop replays it.
struct Op {
  enum Kind { kRegion, kImage, kFill, kLine, kClip, kClipRect, kTranslate, kMode } kind;
  Image* image = nullptr;  // kept reachable by `images`
  int32_t v[8] = {};
};

// A Graphics over the screen image that also keeps its drawing calls.
class OpRecorder : public Graphics {
  VM_CLASS(OpRecorder, Graphics)

 public:
  static VMPtr<OpRecorder> make(const VMPtr<Image>& image) {
    VMPtr<OpRecorder> g = _VM_new();
    g->Object::_VM_init();
    HAL_createGraphicsWithImage(&g->context, image->nativeImage());
    g->target = image;
    g->setSize(image->width, image->height);
    g->reset(false);
    return g;
  }

  void drawRegion(VMPtr<Image> src, int32_t xs, int32_t ys, int32_t w, int32_t h, int32_t t, int32_t x, int32_t y,
                  int32_t anchor) override {
    add({Op::kRegion, keep(src), {xs, ys, w, h, t, x, y, anchor}});
    Graphics::drawRegion(src, xs, ys, w, h, t, x, y, anchor);
  }
  void drawImage(VMPtr<Image> img, int32_t x, int32_t y, int32_t anchor) override {
    add({Op::kImage, keep(img), {x, y, anchor}});
    Graphics::drawImage(img, x, y, anchor);
  }
  void fillRect(int32_t x, int32_t y, int32_t w, int32_t h) override {
    add({Op::kFill, nullptr, {x, y, w, h, getColor()}});
    Graphics::fillRect(x, y, w, h);
  }
  void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
    add({Op::kLine, nullptr, {x1, y1, x2, y2, getColor()}});
    Graphics::drawLine(x1, y1, x2, y2);
  }
  void setClip(int32_t x, int32_t y, int32_t w, int32_t h) override {
    add({Op::kClip, nullptr, {x, y, w, h}});
    Graphics::setClip(x, y, w, h);
  }
  void clipRect(int32_t x, int32_t y, int32_t w, int32_t h) override {
    add({Op::kClipRect, nullptr, {x, y, w, h}});
    Graphics::clipRect(x, y, w, h);
  }
  void translate(int32_t x, int32_t y) override {
    add({Op::kTranslate, nullptr, {x, y}});
    Graphics::translate(x, y);
  }
  void setDrawMode(int32_t mode, int32_t flag) override {
    add({Op::kMode, nullptr, {mode, flag}});
    Graphics::setDrawMode(mode, flag);
  }

  bool recording = false;
  std::vector<Op>* ops = nullptr;
  std::deque<VMNative<Image>>* images = nullptr;
  std::unordered_set<Image*> kept;

 private:
  void add(const Op& op) {
    if (recording) ops->push_back(op);
  }
  Image* keep(const VMPtr<Image>& image) {
    if (recording && kept.insert(image.get()).second) images->emplace_back(image);
    return image.get();
  }
};

}  // namespace benchplay

VM_REGISTER_CLASS(benchplay::OpRecorder, "benchplay.OpRecorder", "javax.microedition.lcdui.Graphics", 0);

namespace {

using benchplay::Op;
using benchplay::OpRecorder;

constexpr int32_t kFrameMs = 40;
constexpr int32_t kLevels = 25;
constexpr int kRecordedFrames = 200;

struct Game {
  pack_fixtures::ProgramFolder folder;
  VMNative<main::CommonCanvas> canvas;
  VMNative<Main> controller;
  VMNative<Image> screen;
  VMNative<Graphics> g;
  VMNative<OpRecorder> recorder;
  int level = -1;
  int records = 0;
  int restarts = 0;
  std::vector<std::vector<Op>> frames;
  std::deque<VMNative<Image>> images;
  bool ready = false;
};

VMPtr<InGame> playScene() {
  scene::SceneManager::_VM_clinitCheck();
  return VMPtr<InGame>(dynamic_cast<InGame*>(scene::SceneManager::currentScene.get()));
}

bool playing() {
  VMPtr<InGame> s = playScene();
  return s && !s->suspended && s->state == InGame::kPlaying;
}

void tick(Game& game) {
  VMPtr<main::CommonCanvas>(game.canvas)->latchKeys();
  VMPtr<Main>(game.controller)->update();
}

// (Re)starts the chosen level and runs the frames until it plays.
bool startLevel(Game& game) {
  scene::SceneManager::instance->changeScene(34);
  for (int i = 0; i < 200 && !playing(); ++i) {
    tick(game);
    VMPtr<main::CommonCanvas>(game.canvas)->paintFrame(VMPtr<Graphics>(game.g));
  }
  return playing();
}

// The level with the most item, barrier and landscape records.
void chooseBusiestLevel(Game& game) {
  Main::_VM_clinitCheck();
  VMPtr<ui::LevelLoader> loader = Main::levelLoader;
  for (int32_t n = 0; n < kLevels; ++n) {
    loader->load(n);
    const int records = loader->itemCount + ui::LevelLoader::barrierCount + loader->landscapeCount + loader->landscapeBCount;
    if (records > game.records) {
      game.records = records;
      game.level = n;
    }
  }
}

// Draws one recorded frame's calls on `gr`.
void replay(Graphics* gr, const std::vector<Op>& ops) {
  for (const Op& op : ops) {
    const int32_t* v = op.v;
    switch (op.kind) {
      case Op::kRegion:
        gr->drawRegion(VMPtr<Image>(op.image), v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
        break;
      case Op::kImage:
        gr->drawImage(VMPtr<Image>(op.image), v[0], v[1], v[2]);
        break;
      case Op::kFill:
        gr->setColor(v[4]);
        gr->fillRect(v[0], v[1], v[2], v[3]);
        break;
      case Op::kLine:
        gr->setColor(v[4]);
        gr->drawLine(v[0], v[1], v[2], v[3]);
        break;
      case Op::kClip:
        gr->setClip(v[0], v[1], v[2], v[3]);
        break;
      case Op::kClipRect:
        gr->clipRect(v[0], v[1], v[2], v[3]);
        break;
      case Op::kTranslate:
        gr->translate(v[0], v[1]);
        break;
      case Op::kMode:
        gr->setDrawMode(v[0], v[1]);
        break;
    }
  }
}

// The pixels of `image`.
std::vector<int32_t> pixelsOf(const VMPtr<Image>& image) {
  const int32_t w = image->getWidth(), h = image->getHeight();
  VMPtr<VMArray<int32_t>> a = VMArray<int32_t>::create(w * h);
  image->getRGB(a, 0, w, 0, 0, w, h);
  return std::vector<int32_t>(a->elements(), a->elements() + w * h);
}

Game* makeGame(std::string& error) {
  const std::filesystem::path built = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "rsc";
  if (!std::filesystem::exists(built / "RP2.rp")) {
    error = "no built rsc/ at " + built.string() + " (build jme_rsc)";
    return nullptr;
  }
  VMTestEnv::start();
  auto* game = new Game();
  for (const auto& entry : std::filesystem::directory_iterator(built)) {
    std::filesystem::create_symlink(entry.path(), game->folder.root() / "rsc" / entry.path().filename());
  }
  VMPtr<main::CommonCanvas> canvas = main::CommonCanvas::_VM_new();
  canvas->_VM_init(VMPtr<javax::microedition::midlet::MIDlet>());
  game->canvas = canvas;
  VMPtr<Main> controller = Main::_VM_new();
  controller = controller->init(canvas);
  game->controller = controller;
  canvas->setViewWidth(Main::kGameWidth);
  canvas->setViewHeight(Main::kGameHeight);
  PointerInputKeyManager::init();
  PointerInputKeyManager::removeRegions(0);
  PointerInputEventManager::init();
  PointerInputEventManager::setArea(0, 0, Main::kGameWidth, Main::kGameHeight);
  canvas->frameDuration = kFrameMs;
  VMPtr<Image> screen = Image::createImage(Main::kGameWidth, Main::kGameHeight);
  game->screen = screen;
  game->g = screen->getGraphics();
  VMPtr<OpRecorder> recorder = OpRecorder::make(screen);
  game->recorder = recorder;
  recorder->ops = nullptr;
  recorder->images = &game->images;

  controller->update();  // the scene manager and the logo
  chooseBusiestLevel(*game);
  main::Game::_VM_clinitCheck();
  main::Game::tier = 0;
  main::Game::group = game->level / 5;
  main::Game::stage = game->level % 5;
  if (!startLevel(*game)) {
    error = "level " + std::to_string(game->level) + " does not reach play";
    return nullptr;
  }
  // The plain loop's frames: the drawing calls of played frames.
  recorder->recording = true;
  for (int f = 0; f < kRecordedFrames; ++f) {
    if (!playing() && !startLevel(*game)) break;
    game->frames.emplace_back();
    recorder->ops = &game->frames.back();
    tick(*game);
    canvas->paintFrame(VMPtr<Graphics>(recorder));
  }
  recorder->recording = false;
  // The plain loop draws the same picture: the last recorded frame
  // replayed on a fresh image.
  {
    VMPtr<Image> fresh = Image::createImage(Main::kGameWidth, Main::kGameHeight);
    VMPtr<Graphics> drawn = fresh->getGraphics();
    replay(drawn.get(), game->frames.back());
    if (pixelsOf(fresh) != pixelsOf(screen)) {
      error = "the replayed frame differs from the game's";
      return nullptr;
    }
  }
  if (!startLevel(*game)) {
    error = "level " + std::to_string(game->level) + " does not restart";
    return nullptr;
  }
  game->ready = true;
  return game;
}

Game* game(benchmark::State& state) {
  static std::string error;
  static Game* made = makeGame(error);
  if (!made) state.SkipWithError(error.c_str());
  return made;
}

void PlayFrame(benchmark::State& state) {
  Game* g = game(state);
  if (!g) return;
  VMPtr<main::CommonCanvas> canvas = g->canvas;
  VMPtr<Graphics> graphics = g->g;
  for (auto _ : state) {
    if (!playing()) {
      state.PauseTiming();
      ++g->restarts;
      startLevel(*g);
      state.ResumeTiming();
    }
    tick(*g);
    canvas->paintFrame(graphics);
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("level " + std::to_string(g->level) + " (" + std::to_string(g->records) + " records), " +
                 std::to_string(g->restarts) + " restarts");
}
BENCHMARK(PlayFrame)->Unit(benchmark::kMicrosecond);

void PlainFrame(benchmark::State& state) {
  Game* g = game(state);
  if (!g) return;
  VMPtr<Graphics> graphics = g->g;
  Graphics* gr = graphics.get();
  size_t next = 0;
  size_t calls = 0;
  for (auto _ : state) {
    const std::vector<Op>& ops = g->frames[next];
    next = next + 1 == g->frames.size() ? 0 : next + 1;
    replay(gr, ops);
    calls += ops.size();
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["calls/frame"] = static_cast<double>(calls) / static_cast<double>(state.iterations());
}
BENCHMARK(PlainFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
