#include "main_Main.h"

#include <climits>

#include "GameIds.h"
#include "java_lang_System.h"
#include "scene_SceneManager.h"
#include "scene_maingame_InGameObject.h"
#include "tq_MediaManagerImpl.h"
#include "tq_Resources.h"
#include "tq_ResourcesExt.h"

VM_REGISTER_CLASS(main::Main, "main.Main", "java.lang.Object", VM_HAS_CLINIT);

namespace main {

using Bytes = VMArray<int8_t>;
using Ints = VMArray<int32_t>;
using scene::SceneManager;
using tq::TqCanvas;

VMStatic<Main> Main::instance;
VMStatic<TqCanvas> Main::canvas;
VMStatic<SceneManager> Main::sceneManager;
VMStatic<Game> Main::game;
VMStatic<ui::ResManager> Main::resManager;
VMStatic<tq::util::text::RichFont> Main::font;
VMStatic<ui::LevelLoader> Main::levelLoader;
VMStatic<tq::util::FastRandom> Main::rng;
VMStatic<Ints> Main::fontGlyphIds;
VMStatic<tq::util::text::Translation> Main::translation;
int32_t Main::translationId;
int32_t Main::currentGlyphId;
int32_t Main::soundSet;
uint8_t Main::repaintAll;
uint8_t Main::firstRun;
uint8_t Main::showLoadingPicture;
uint8_t Main::soundOn;
uint8_t Main::musicOn;
int32_t Main::offsetX;
int32_t Main::offsetY;

namespace {

constexpr int32_t kMediaSlots = 10;
constexpr int32_t kLoopForever = -1;
constexpr int32_t kTiers = 5;
constexpr int32_t kLevelsPerTier = 25;
constexpr int32_t kPerfectFlags = 125;
constexpr int32_t kTierDoneFlags = 250;
constexpr int32_t kAllTiersDone = 255;
constexpr int32_t kTierPerfectFlags = 256;
constexpr int32_t kAllTiersPerfect = 261;

int32_t glyphIdOf(int32_t slot) { return slot == 0 ? gameids::kGlyphsSlot0 : gameids::kGlyphsSlot1; }

// The first sprite of a freshly loaded set, the pack closed again.
VMPtr<tq::Gob> firstSprite(int32_t id) {
  VMPtr<VMArray<tq::Gob>> set = tq::ResourcesExt::getGobs(id);
  tq::Resources::closePack();
  return set->get(0);
}

bool allSet(const VMPtr<Bytes>& flags, int32_t from, int32_t n) {
  for (int32_t i = from; i < from + n; ++i) {
    if (flags->at(i) == 0) return false;
  }
  return true;
}

// Sets flags[i] when `when` holds and it is clear; true when it was set now.
bool markNew(const VMPtr<Bytes>& flags, int32_t i, bool when) {
  if (!when || flags->at(i) != 0) return false;
  flags->at(i) = 1;
  return true;
}

}  // namespace

void Main::_VM_clinit() { instance = nullptr; }

VMPtr<Main> Main::init(VMPtr<TqCanvas> canvas) {
  Base::_VM_init();
  glyphSets = nullptr;
  _VM_clinitCheck();
  Main::canvas = canvas;
  VMPtr<Game> progress = Game::_VM_new();
  progress->_VM_init(canvas);
  game = progress;
  VMPtr<ui::ResManager> cache = ui::ResManager::_VM_new();
  cache->_VM_init();
  resManager = cache;
  VMPtr<tq::util::text::RichFont> systemFont = tq::util::text::RichFont::_VM_new();
  systemFont->_VM_init();
  font = systemFont;
  VMPtr<tq::util::FastRandom> random = tq::util::FastRandom::_VM_new();
  random->_VM_init(java::lang::System::currentTimeMillis());
  rng = random;
  instance = VMPtr<Main>(this);
  VMPtr<ui::LevelLoader> loader = ui::LevelLoader::_VM_new();
  loader->_VM_init();
  levelLoader = loader;
  paused = 0;
  repaintAll = 1;
  firstRun = 1;
  showLoadingPicture = 1;
  soundOn = 0;
  musicOn = 0;
  selectFont(0);
  return VMPtr<Main>(this);
}

void Main::update() {
  if (paused) return;
  _VM_clinitCheck();
  VMPtr<SceneManager> manager = sceneManager;
  if (!manager) {
    VMPtr<SceneManager> made = SceneManager::_VM_new();
    made->_VM_init();
    sceneManager = made;
    return;
  }
  manager->update();
}

bool Main::currentSceneSuspended() {
  SceneManager::_VM_clinitCheck();
  VMPtr<ui::Scene> scene = SceneManager::currentScene;
  return sceneManager && scene && scene->suspended;
}

void Main::paint(VMPtr<Graphics> g) {
  _VM_clinitCheck();
  if (repaintAll) paintBackdrop(g);
  g->translate(offsetX, offsetY);
  VMPtr<SceneManager> manager = sceneManager;
  if (manager) manager->paint(g);
  g->translate(-offsetX, -offsetY);
}

// The tiled background over the whole canvas, the centred loading picture
// while a scene loads (or once at start), then the game area's offset.
// A tile of no width or height tiles nothing.
void Main::paintBackdrop(VMPtr<Graphics> g) {
  VMPtr<TqCanvas> c = canvas;
  const int32_t w = c->getWidth();
  const int32_t h = c->getHeight();
  g->setColor(0);
  g->setClip(0, 0, w, h);
  VMPtr<tq::Gob> tile = firstSprite(gameids::kBackgroundTiles);
  const int32_t tw = tile->getWidth(0);
  const int32_t th = tile->getHeight(0);
  if (tw > 0 && th > 0) {
    for (int32_t i = 0; i <= w / tw; ++i) {
      for (int32_t j = 0; j <= h / th; ++j) tile->paint(g, tw * i, th * j, 0);
    }
  }
  if (currentSceneSuspended() || showLoadingPicture) {
    VMPtr<tq::Gob> picture = firstSprite(gameids::kLoadingPicture);
    picture->paint(g, (w - picture->getWidth(0)) / 2, (h - picture->getHeight(0)) / 2, 0);
    showLoadingPicture = 0;
  }
  offsetX = (w - kGameWidth) / 2;
  offsetY = (h - kGameHeight) / 2;
  c->setViewOrigin(offsetX, offsetY);
  repaintAll = 0;
}

// --- Media ------------------------------------------------------------

void Main::loadSoundSet(int32_t set) {
  VMPtr<tq::MediaManager> media = mediaManager;
  if (media) {
    media->release(kSoundSlot);
  } else {
    VMPtr<tq::MediaManagerImpl> made = tq::MediaManagerImpl::_VM_new();
    made->_VM_init(VMPtr<TqCanvas>(canvas), kMediaSlots);
    media = made;
    mediaManager = media;
  }
  if (set >= 0 && set < gameids::kSoundSets) {
    const int32_t id = set == 5 ? gameids::kMenuSoundSet : gameids::kFirstLevelSoundSet + set;
    media->load(kSoundSlot, id, kLoopForever, 0);
  }
  tq::Resources::closePack();
  _VM_clinitCheck();
  soundOn = 1;
  musicOn = 0;
  soundSet = set;
}

void Main::playMusic(int32_t set) {
  _VM_clinitCheck();
  if (!soundOn || set == soundSet) return;
  stopMusic();
  loadSoundSet(set);
}

void Main::playLoop(int32_t track) {
  stopMusic();
  _VM_clinitCheck();
  if (!soundOn) return;
  VMPtr<tq::MediaManager>(mediaManager)->play(kMusicChannel, track);
  musicOn = 1;
}

void Main::stopMusic() {
  _VM_clinitCheck();
  if (!soundOn || !musicOn) return;
  VMPtr<tq::MediaManager>(mediaManager)->stop(kMusicChannel);
  musicOn = 0;
}

void Main::playSound() {
  _VM_clinitCheck();
  if (soundOn) VMPtr<tq::MediaManager>(mediaManager)->play(kEffectChannel, kSoundSlot);
}

void Main::stopAllSounds() {
  _VM_clinitCheck();
  if (soundOn) VMPtr<tq::MediaManager>(mediaManager)->stop(-1);
}

void Main::soundOff() {
  if (!mediaManager) return;
  stopAllSounds();
  soundOn = 0;
  soundSet = -1;
}

void Main::releaseMedia() {
  VMPtr<tq::MediaManager> media = mediaManager;
  if (!media) return;
  mediaManager = nullptr;
  media->close();
  _VM_clinitCheck();
  soundSet = -1;
  soundOn = 0;
}

// --- Fonts and text ----------------------------------------------------

void Main::loadFont(int32_t slot) {
  _VM_clinitCheck();
  if (!fontGlyphIds) {
    VMPtr<Ints> ids = Ints::create(2);
    if (!fontGlyphIds) fontGlyphIds = ids;
  }
  if (!glyphSets) {
    VMPtr<VMArray<tq::Gob, 2>> sets = VMArray<tq::Gob, 2>::createMulti(1, 2);
    if (!glyphSets) glyphSets = sets;
  }
  const int32_t id = glyphIdOf(slot);
  if (fontGlyphIds->at(slot) == id) return;
  glyphSets->set(slot, nullptr);
  fontGlyphIds->at(slot) = id;
  VMPtr<VMArray<tq::Gob>> set = tq::ResourcesExt::getGobs(id);
  tq::Resources::closePack();
  VMPtr<VMArray<tq::Gob, 2>>(glyphSets)->set(slot, set);
}

void Main::selectFont(int32_t slot) {
  if (!glyphSets || !VMPtr<VMArray<tq::Gob, 2>>(glyphSets)->get(slot)) loadFont(slot);
  _VM_clinitCheck();
  const int32_t id = fontGlyphIds->at(slot);
  if (currentGlyphId == id) return;
  currentGlyphId = id;
  VMPtr<tq::util::text::RichFont>(font)->setGlyphs(VMPtr<VMArray<tq::Gob>>(glyphSets->get(slot)));
}

void Main::releaseFont(int32_t slot) {
  VMPtr<VMArray<tq::Gob, 2>> sets = glyphSets;
  if (sets && sets->get(slot)) sets->set(slot, nullptr);
  _VM_clinitCheck();
  VMPtr<Ints>(fontGlyphIds)->at(slot) = -1;
}

void Main::loadTranslation(int32_t resourceId) {
  _VM_clinitCheck();
  translationId = resourceId;
  VMPtr<tq::util::text::Translation> table = tq::Resources::getTranslation(resourceId);
  tq::Resources::closePack();
  translation = table;
}

// --- Life cycle ----------------------------------------------------------

void Main::pause() {
  paused = 1;
  _VM_clinitCheck();
  VMPtr<SceneManager> manager = sceneManager;
  if (manager) manager->pauseScene();
}

void Main::resume() {
  paused = 0;
  _VM_clinitCheck();
  VMPtr<SceneManager> manager = sceneManager;
  if (manager) manager->onResume();
}

void Main::onShown() {
  _VM_clinitCheck();
  VMPtr<SceneManager> manager = sceneManager;
  SceneManager::_VM_clinitCheck();
  VMPtr<ui::Scene> scene = SceneManager::currentScene;
  if (manager && (manager->sceneId == 34 || manager->sceneId == 42)) {
    if (scene) scene->pause();
    return;
  }
  playSound();
}

int32_t Main::random() {
  _VM_clinitCheck();
  const int32_t v = VMPtr<tq::util::FastRandom>(rng)->nextInt();
  return v < 0 && v != INT_MIN ? -v : v;
}

void Main::shutdown() {
  _VM_clinitCheck();
  canvas = nullptr;
  VMPtr<SceneManager> manager = sceneManager;
  if (manager) {
    manager->releaseScene();
    sceneManager = nullptr;
  }
  game = nullptr;
  ui::ResManager::freeAll();
  resManager = nullptr;
  VMPtr<Ints> ids = fontGlyphIds;
  for (int32_t i = 0; ids && i < ids->length; ++i) ids->at(i) = -1;
  translationId = -1;
  currentGlyphId = -1;
  soundSet = -1;
  levelLoader = nullptr;
  rng = nullptr;
  font = nullptr;
  translation = nullptr;
  firstRun = 1;
  repaintAll = 1;
}

// --- Level end -----------------------------------------------------------

// Bytes 250..261 of the progress flags from the level flags of every tier:
// codes t (tier done), t + 6 (tier perfect), 5 (all done), 11 (all perfect).
void Main::markTierFlags(VMPtr<Bytes> flags, VMPtr<Ints> result, int32_t& n) {
  bool allDone = true;
  bool allPerfect = true;
  for (int32_t t = 0; t < kTiers; ++t) {
    const int32_t first = kLevelsPerTier * t;
    if (markNew(flags, kTierDoneFlags + t, allSet(flags, first, kLevelsPerTier))) result->at(++n) = t;
    if (markNew(flags, kTierPerfectFlags + t, allSet(flags, first + kPerfectFlags, kLevelsPerTier))) {
      result->at(++n) = t + 6;
    }
    allDone = allDone && flags->at(kTierDoneFlags + t) != 0;
    allPerfect = allPerfect && flags->at(kTierPerfectFlags + t) != 0;
  }
  if (markNew(flags, kAllTiersDone, allDone)) result->at(++n) = 5;
  if (markNew(flags, kAllTiersPerfect, allPerfect)) result->at(++n) = 11;
}

// The result has room for every code (14): a store whose tier bytes lag
// its level flags earns several at once.
VMPtr<Ints> Main::levelFinished() {
  VMPtr<Ints> result = Ints::create(kResultLength);
  for (int32_t i = 1; i < kResultLength; ++i) result->at(i) = -1;
  int32_t n = 0;
  scene::maingame::InGameObject::_VM_clinitCheck();
  int32_t grade = scene::maingame::InGameObject::gathered / 5;
  if (grade > 3) grade = 3;
  _VM_clinitCheck();
  VMPtr<Game> progress = game;
  Game::_VM_clinitCheck();
  const int32_t t = Game::tier, g = Game::group, s = Game::stage;
  VMPtr<Ints> best = Game::bestGrades;
  const int32_t b = Game::bestIndex(t, g, s);
  if (best->at(b) < grade) {
    best->at(b) = grade;
    progress->save();
  }
  VMPtr<Bytes> flags = Game::progressFlags;
  const int32_t p = Game::progressIndex(t, g, s);
  bool changed = markNew(flags, p, true);
  changed = markNew(flags, p + kPerfectFlags, grade == 3) || changed;
  if (changed) {
    markTierFlags(flags, result, n);
    progress->saveProgress();
  }
  VMPtr<Bytes> unlocks = Game::unlockFlags;
  if (s + 1 < 5) {
    unlocks->at(Game::unlockIndex(g, s + 1)) = 1;
  } else if (g + 1 < 5) {
    if (markNew(unlocks, Game::unlockIndex(g + 1, 0), true)) result->at(++n) = g + 18;
    if (markNew(unlocks, g + 1, true)) result->at(++n) = g + 13;
  }
  progress->saveUnlocks();
  result->at(0) = n;
  for (int32_t i = 1, j = n; i < j; ++i, --j) {
    const int32_t swap = result->at(i);
    result->at(i) = result->at(j);
    result->at(j) = swap;
  }
  return result;
}

void Main::_VM_markReferences(int colour) {
  _VM_mark(mediaManager, colour);
  _VM_mark(glyphSets, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace main
