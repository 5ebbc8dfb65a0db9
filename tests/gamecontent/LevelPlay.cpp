#include "LevelPlay.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "JavaTask.h"
#include "JavaTestSupport.h"
#include "Manifest.h"
#include "ManifestBuilder.h"
#include "PlainCanvas.h"
#include "PlayTables.h"
#include "VMTestEnv.h"
#include "main_Game.h"
#include "scene_SceneManager.h"
#include "scene_maingame_InGameBarrier.h"
#include "scene_maingame_InGameObject.h"
#include "tq_CellLayer.h"
#include "tq_Resources.h"
#include "ui_LevelLoader.h"
#include "ui_ResManager.h"
#include "ui_Scene.h"

namespace gamecontenttest {

// A scene of its own only for its frame time, which the objects' ticks read.
class StepScene : public ui::Scene {
  VM_CLASS(StepScene, ui::Scene)

 public:
  void loadStep() override {}
  void prepareStep() override {}
  void createWidgets() override {}
  void paintBackground(VMPtr<Graphics>) override {}
};

}  // namespace gamecontenttest

VM_REGISTER_CLASS(gamecontenttest::StepScene, "gamecontenttest.StepScene", "ui.Scene", 0);

namespace gamecontenttest {

namespace {

using scene::maingame::InGameBarrier;
using scene::maingame::InGameObject;
using Barriers = VMArray<InGameBarrier>;
using gamecontent::Tap;
using gamecontent::TapRegion;

constexpr int kFrameMs = 40;
constexpr int kStep = 5;  // ((40 * 5000) / 40) / 1000 pixels a frame
constexpr int kViewWidth = 240;
constexpr int kLoadingTicks = 15;
constexpr int kKnockedOut = 11;

bool movesForward(int32_t state) {
  static constexpr int32_t kMoving[] = {3, 4, 7, 14, 15, 5, 6, 8, 11};
  return std::find(std::begin(kMoving), std::end(kMoving), state) != std::end(kMoving);
}

// States in which something solid holds a runner back.
bool pushedBack(int32_t state) { return state == 1 || state == 2 || state == 13 || state == 14 || state == 15; }

const std::filesystem::path kGame = std::filesystem::path(JME_SOURCE_DIR) / "tools/content/game";

// One level in play: the level loaded, the objects made as the play scene
// makes them, and its camera.
class Round {
 public:
  Round(int level, int tier) : loader_(main::Main::levelLoader) {
    main::Game::_VM_clinitCheck();
    main::Game::tier = tier;
    main::Game::group = level / playtables::kStages;
    main::Game::stage = level % playtables::kStages;
    loader_->levelNumber = -1;
    loader_->load(level);
    for (int i = 0; i < 2; ++i) loader_->pairA->at(i) = loader_->pairB->at(i) = 0;
    viewHeight_ = std::min(160, loader_->height * loader_->scaleB / 2);
    map_ = tq::CellLayer::create(kViewWidth, viewHeight_);
    // The play scene's room for sprites, less the pick-ups' (left out here).
    map_->setPoolCapacity(5 * (ui::LevelLoader::barrierCount > 0 ? loader_->barrierGroupSize : 0) + 2);
    InGameObject::_VM_clinitCheck();
    InGameObject::mapLayer = map_;
    const playtables::TierSets& sets = playtables::kTierSets[tier];
    a_ = runner(sets.spritesA, sets.animsA, loader_->pointBX, loader_->pointBY, true);
    InGameObject::mainObjectA = a_;
    b_ = runner(sets.spritesB, sets.animsB, loader_->pointAX, loader_->pointAY, false);
    InGameObject::mainObjectB = b_;
    makeBarriers();
    for (int i = 0; i < kLoadingTicks; ++i) tickObjects();
    InGameObject::gathered = 0;
    camera();
  }
  ~Round() {
    InGameObject::mainObjectA = nullptr;
    InGameObject::mainObjectB = nullptr;
    InGameObject::mapLayer = nullptr;
  }

  VMPtr<InGameObject> object(int runner) const { return runner == 0 ? a_ : b_; }
  VMPtr<Barriers> barriers() const { return barriers_; }
  bool completed() const { return completed_; }

  // One playing frame with the taps of `frame`; false once the level ends.
  bool frame(const std::vector<Tap>& taps, int frame) {
    for (const Tap& t : taps) {
      if (t.frame != frame) continue;
      VMPtr<InGameObject> o = t.region == TapRegion::AJump || t.region == TapRegion::ADrop ? a_ : b_;
      if (t.region == TapRegion::AJump || t.region == TapRegion::BJump)
        o->jump();
      else
        o->drop();
    }
    if (knockedOut(a_) || knockedOut(b_)) return false;
    for (const VMPtr<InGameObject>& o : {a_, b_}) {
      if (movesForward(o->getState())) o->setLayerPosition(0, o->getLayerX(0) + kStep, o->getLayerY(0));
    }
    camera();
    if (completed_) return false;
    tickObjects();
    return true;
  }

 private:
  static bool knockedOut(const VMPtr<InGameObject>& o) { return o->isDead() && o->getLayerValue(0) == kKnockedOut; }

  static VMPtr<InGameObject> runner(int sprites, int anims, int x, int y, bool halfMap) {
    VMPtr<InGameObject> o = InGameObject::_VM_new();
    o->_VM_init();
    if (!halfMap) o->setHalfMap(false);
    o->initLayers(2);
    o->addPlayerLayer(sprites, anims, 6, x, y);
    return o;
  }

  // The play scene makes barriers only when the level counted some: the
  // group size outlives a level without barriers.
  void makeBarriers() {
    const int n = ui::LevelLoader::barrierCount > 0 ? loader_->barrierGroupSize : 0;
    barriers_ = Barriers::create(n);
    for (int i = 0; i < n; ++i) {
      const int kind = loader_->barrierKind->at(i), variant = loader_->barrierVariant->at(i);
      VMPtr<InGameBarrier> b = InGameBarrier::_VM_new();
      b->_VM_init();
      b->initLayers(2);
      b->addPlayerLayer(playtables::kSpritesByType[kind] + variant, playtables::kAnimsByType[kind] + variant, 0,
                        loader_->barrierX->at(i), loader_->barrierY->at(i));
      const int32_t barrierKind = loader_->barrierParams->get(i)->at(0);
      b->setKind(barrierKind);
      if (barrierKind != 4) b->setArmed(true);
      barriers_->set(i, b);
    }
  }

  void tickObjects() {
    a_->tick();
    b_->tick();
    for (int i = 0; i < barriers_->length; ++i) barriers_->get(i)->tick();
  }

  // The play scene's camera: both views follow the runners' mean, a runner
  // left behind is pulled to its view's edge and knocked out, and both
  // past the map's right end complete the level.
  void camera() {
    const int sA = loader_->scaleA, sB = loader_->scaleB;
    if (first_) {
      first_ = false;
      viewY_[0] = std::max(0, loader_->pointBY + 4 * sB - 160);
      viewY_[1] = std::min(loader_->pointAY + 4 * sB - 160, loader_->height * sB - viewHeight_);
      viewY_[2] = viewY_[0];
      viewY_[3] = viewY_[1];
    }
    const int w = loader_->width * sA, h2 = sB * loader_->height / 2;
    const int ax = a_->getLayerX(0), ay = a_->getLayerY(0), bx = b_->getLayerX(0), by = b_->getLayerY(0);
    const int m = (kViewWidth - sA) / 2, yOff = viewHeight_ - 2 * sB;
    int c = sA + (ax + bx) / 2;
    if (std::abs(ax - bx) > 2 * (m - sA)) {
      if (c - 2 * sA + m < bx) {
        a_->setLayerPosition(0, viewX_[2], ay);
        a_->fallBehind();
        c = bx - m + 2 * sA;
      } else if (c - 2 * sA + m < ax) {
        b_->setLayerPosition(0, viewX_[3], by);
        b_->fallBehind();
        c = ax - m + 2 * sA;
      }
    }
    auto clamp = [](int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; };
    const int tx = clamp(c - m, 0, w - kViewWidth);
    const int tyA = clamp(ay - yOff, 0, h2 - viewHeight_), tyB = clamp(by - yOff, h2, 2 * h2 - viewHeight_);
    viewX_[2] = viewX_[3] = tx;
    viewY_[2] = tyA;
    viewY_[3] = tyB;
    if (w < a_->getLayerX(0) && w < b_->getLayerX(0)) completed_ = true;
    loader_->pairA->at(0) = viewX_[2];
    loader_->pairB->at(0) = viewY_[2];
    loader_->pairA->at(1) = viewX_[3];
    loader_->pairB->at(1) = viewY_[3];
  }

  VMPtr<ui::LevelLoader> loader_;
  VMPtr<tq::CellLayer> map_;
  VMPtr<InGameObject> a_, b_;
  VMPtr<Barriers> barriers_;
  int viewHeight_ = 160;
  int viewX_[4] = {0, 0, 0, 0};
  int viewY_[4] = {0, 0, 0, 0};
  bool first_ = true;
  bool completed_ = false;
};

}  // namespace

namespace {

const std::filesystem::path* sharedFolder = nullptr;
void removeSharedFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(*sharedFolder, ignored);
}

}  // namespace

LevelPlay& LevelPlay::shared() {
  // The VM and its objects stay for the process's life (nothing of them is
  // torn down at exit); only the program folder, with the rsc/ built for
  // it, is removed then.
  static LevelPlay* play = [] {
    auto* made = new LevelPlay();
    sharedFolder = new std::filesystem::path(made->folder_.root());
    std::atexit(removeSharedFolder);
    return made;
  }();
  return *play;
}

VMPtr<ui::LevelLoader> LevelPlay::load(int level) {
  VMPtr<ui::LevelLoader> loader = main::Main::levelLoader;
  loader->levelNumber = -1;
  loader->load(level);
  return loader;
}

int PlayRun::firstTrouble() const {
  if (trouble[0] == 0 || trouble[1] == 0) return std::max(trouble[0], trouble[1]);
  return std::min(trouble[0], trouble[1]);
}

LevelPlay::LevelPlay() : vmStarted_(VMTestEnv::start() != nullptr) {
  content::buildResourceFolder(content::readManifest(kGame / "manifest.txt"), folder_.root() / "rsc");
  tq::Resources::closePack();
  canvas_ = main::CommonCanvas::_VM_new();
  canvas_->_VM_init(VMPtr<javax::microedition::midlet::MIDlet>());
  controller_ = main::Main::_VM_new();
  controller_->init(canvas_);
  VMPtr<StepScene> scene = StepScene::_VM_new();
  scene->_VM_init();
  scene->frameTime = kFrameMs;
  scene::SceneManager::_VM_clinitCheck();
  scene::SceneManager::currentScene = scene;
}

LevelPlay::~LevelPlay() {
  scene::SceneManager::currentScene = nullptr;
  test_support::stopCanvasThread();
}

PlayRun LevelPlay::play(int level, int tier, const std::vector<Tap>& taps, bool stopAtTrouble, int maxFrames) {
  try {
    return playRound(level, tier, taps, stopAtTrouble, maxFrames);
  } catch (java::lang::Throwable* t) {
    const std::string name = t->_VM_getClass()->_VM_name.c_str();
    throw std::runtime_error("level " + std::to_string(level) + " threw " + name + ": " + java_test::messageOf(t));
  }
}

PlayRun LevelPlay::playRound(int level, int tier, const std::vector<Tap>& taps, bool stopAtTrouble, int maxFrames) {
  Round round(level, tier);
  PlayRun run;
  int lives[2] = {round.object(0)->lives, round.object(1)->lives};
  for (int f = 1; f <= maxFrames; ++f) {
    run.frames = f;
    const bool goesOn = round.frame(taps, f);
    if (std::getenv("JME_PLAY_TRACE")) {
      for (int r = 0; r < 2; ++r) {
        VMPtr<InGameObject> o = round.object(r);
        std::printf("%d %c x%d y%d s%d a%d l%d\n", f, "AB"[r], o -> getLayerX(0), o -> getLayerY(0), o -> getState(),
                    o -> getLayerValue(0), o -> lives);
      }
      for (int i = 0; i < round.barriers()->length; ++i) {
        VMPtr<InGameBarrier> b = round.barriers()->get(i);
        std::printf("%d barrier %d k%d x%d y%d a%d\n", f, i, b->getKind(), b->getLayerX(0), b->getLayerY(0),
                    b->getLayerValue(0));
      }
    }
    for (int r = 0; r < 2; ++r) {
      VMPtr<InGameObject> o = round.object(r);
      const char* what = o->isDead()                 ? "knocked out"
                         : o->lives < lives[r]       ? "hit"
                         : pushedBack(o->getState()) ? "pushed back"
                                                     : nullptr;
      lives[r] = o->lives;
      if (what && run.trouble[r] == 0) run.trouble[r] = f, run.what[r] = what;
    }
    if (!goesOn || (stopAtTrouble && run.firstTrouble() != 0)) break;
  }
  run.completed = round.completed();
  run.livesLeft[0] = round.object(0)->lives;
  run.livesLeft[1] = round.object(1)->lives;
  return run;
}

std::vector<Tap> LevelPlay::plan(int level, bool& ok) {
  std::vector<Tap> taps;
  ok = false;
  for (int attempt = 0; attempt < 80; ++attempt) {
    const PlayRun run = play(level, 0, taps, true);
    const int f = run.firstTrouble();
    if (f == 0) {
      ok = run.completed;
      return taps;
    }
    const int r = run.trouble[0] == f ? 0 : 1;
    // Jumps before the trouble that put the runner's next trouble later.
    std::vector<int> clearing;
    for (int j = std::max(1, f - 30); j < f; ++j) {
      std::vector<Tap> tried = taps;
      tried.push_back({j, r == 0 ? TapRegion::AJump : TapRegion::BJump});
      std::stable_sort(tried.begin(), tried.end(), [](const Tap& x, const Tap& y) { return x.frame < y.frame; });
      const PlayRun next = play(level, 0, tried, true);
      const int later = next.trouble[r];
      const int other = next.trouble[1 - r];
      if ((later == 0 || later > f + 16) && (other == 0 || other >= f)) clearing.push_back(j);
    }
    if (clearing.empty()) {
      failure_ = "runner " + std::string(1, "AB"[r]) + " " + run.what[r] + " in frame " + std::to_string(f) + " after";
      for (const Tap& t : taps) failure_ += " " + std::to_string(t.frame) + gamecontent::regionName(t.region);
      return {};
    }
    // The middle of the longest run of clearing frames.
    size_t best = 0, bestLength = 0;
    for (size_t i = 0; i < clearing.size();) {
      size_t k = i;
      while (k + 1 < clearing.size() && clearing[k + 1] == clearing[k] + 1) ++k;
      if (k - i + 1 > bestLength) best = i, bestLength = k - i + 1;
      i = k + 1;
    }
    taps.push_back({clearing[best + bestLength / 2], r == 0 ? TapRegion::AJump : TapRegion::BJump});
    std::stable_sort(taps.begin(), taps.end(), [](const Tap& x, const Tap& y) { return x.frame < y.frame; });
  }
  return {};
}

}  // namespace gamecontenttest
