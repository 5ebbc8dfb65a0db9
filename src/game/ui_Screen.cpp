#include "ui_Screen.h"

#include "main_Main.h"
#include "scene_SceneManager.h"
#include "ui_ResManager.h"

VM_REGISTER_CLASS(ui::Screen, "ui.Screen", "ui.MyObject", VM_INSTANTIABLE);

namespace ui {

using main::Main;
using tq::AnimPlayer;
using tq::Paintable;

namespace {

constexpr int32_t kClipLength = 5;

// The layers paint and tick visit: the count, within the tables.
int32_t visitedLayers(int32_t count, const VMPtr<VMArray<Paintable>>& drawables) {
  return drawables && count > drawables->length ? drawables->length : count;
}

}  // namespace

VMPtr<Screen> Screen::_VM_init() {
  Base::_VM_init();
  VMPtr<Ints> scratch = Ints::create(kClipLength);
  savedClip = scratch;
  backgroundTop = kDefaultBackground;
  backgroundBottom = kDefaultBackground;
  return VMPtr<Screen>(this);
}

// --- Layer tables ---------------------------------------------------------

void Screen::initLayers(int32_t n) {
  VMPtr<Paintables> newDrawables = Paintables::create(n);
  VMPtr<Ints> newGobSlots = Ints::create(n);
  VMPtr<Ints> newSetSlots = Ints::create(n);
  VMPtr<Players> newPlayers = Players::create(n);
  VMPtr<Ints> newValues = Ints::create(n);
  VMPtr<Rows> newOffsets = Rows::createMulti(2, n, 2);
  VMPtr<Rows> newClips = Rows::createMulti(2, n, kClipLength);
  for (int32_t i = 0; i < n; ++i) {
    newGobSlots->at(i) = -1;
    newSetSlots->at(i) = -1;
    VMPtr<Ints> clip = newClips->get(i);
    clip->at(2) = Main::kGameWidth;
    clip->at(3) = Main::kGameHeight;
  }
  layerCapacity = n;
  drawables = newDrawables;
  gobSlots = newGobSlots;
  animSetSlots = newSetSlots;
  players = newPlayers;
  layerValues = newValues;
  offsets = newOffsets;
  clips = newClips;
}

void Screen::setLayerCount(int32_t n) {
  if (n >= 0 && n <= layerCapacity) layerCount = n;
}

// --- Setting layers -------------------------------------------------------

void Screen::takeSets(int32_t layer, int32_t gobId, int32_t animSetId) {
  releaseLayer(layer);
  ResManager::acquire(gobId, animSetId);
  VMPtr<Ints>(gobSlots)->at(layer) = ResManager::getGobIndex();
  VMPtr<Ints>(animSetSlots)->at(layer) = ResManager::getAnimSetIndex();
}

void Screen::setOffsets(int32_t layer, int32_t x, int32_t y) {
  VMPtr<Ints> offset = VMPtr<Rows>(offsets)->get(layer);
  offset->at(0) = x;
  offset->at(1) = y;
}

void Screen::setImageLayer(int32_t layer, int32_t gobId) {
  takeSets(layer, gobId, -1);
  VMPtr<tq::Gob> image = firstImage(layer);
  VMPtr<Paintables>(drawables)->set(layer, image);
  setOffsets(layer, 0, 0);
  VMPtr<Ints>(layerValues)->at(layer) = 0;
}

void Screen::setFrameLayer(int32_t layer, int32_t gobId, int32_t animSetId, int32_t frame, int32_t x, int32_t y) {
  takeSets(layer, gobId, animSetId);
  VMPtr<tq::Frame> shown = layerAnimSet(layer)->getFrame(frame);
  VMPtr<Paintables>(drawables)->set(layer, shown);
  setOffsets(layer, x, y);
  VMPtr<Ints>(layerValues)->at(layer) = frame;
}

void Screen::setPlayerLayer(int32_t layer, int32_t gobId, int32_t animSetId, int32_t animation, int32_t x,
                            int32_t y) {
  takeSets(layer, gobId, animSetId);
  VMPtr<AnimPlayer> player = AnimPlayer::_VM_new();
  player->_VM_init();
  player->setAnimSet(layerAnimSet(layer));
  player->setAnimation(animation);
  player->setX(x);
  player->setY(y);
  VMPtr<Players>(players)->set(layer, player);
  VMPtr<Paintables>(drawables)->set(layer, player);
  setOffsets(layer, 0, 0);
  VMPtr<Ints>(layerValues)->at(layer) = animation;
}

void Screen::addImageLayer(int32_t gobId) {
  setImageLayer(layerCount, gobId);
  ++layerCount;
}

void Screen::addFrameLayer(int32_t gobId, int32_t animSetId, int32_t frame, int32_t x, int32_t y) {
  setFrameLayer(layerCount, gobId, animSetId, frame, x, y);
  ++layerCount;
}

void Screen::addPlayerLayer(int32_t gobId, int32_t animSetId, int32_t animation, int32_t x, int32_t y) {
  setPlayerLayer(layerCount, gobId, animSetId, animation, x, y);
  ++layerCount;
}

// The value is kept only once the new drawable is in place: a value the
// sets do not have throws and leaves the layer as it was.
void Screen::setLayerValue(int32_t layer, int32_t value) {
  VMPtr<Paintable> shown = layerDrawable(layer);
  if (!shown || VMPtr<Ints>(layerValues)->at(layer) == value) return;
  switch (shown->getKind()) {
    case 0: {
      VMPtr<VMArray<tq::Gob>> set = ResManager::gobSets->get(VMPtr<Ints>(gobSlots)->at(layer));
      VMPtr<tq::Gob> image = set->get(value);
      VMPtr<Paintables>(drawables)->set(layer, image);
      break;
    }
    case 1: {
      VMPtr<tq::Frame> frame = layerAnimSet(layer)->getFrame(value);
      VMPtr<Paintables>(drawables)->set(layer, frame);
      break;
    }
    case 2:
      VMPtr<Players>(players)->get(layer)->setAnimation(value);
      break;
    default:
      return;
  }
  VMPtr<Ints>(layerValues)->at(layer) = value;
}

void Screen::setLayerPosition(int32_t layer, int32_t x, int32_t y) {
  VMPtr<Paintable> shown = layerDrawable(layer);
  if (!shown) return;
  if (shown->getKind() == 2) {
    VMPtr<AnimPlayer> player = VMPtr<Players>(players)->get(layer);
    player->setX(x);
    player->setY(y);
  } else {
    setOffsets(layer, x, y);
  }
}

void Screen::setLayerStep(int32_t layer, int32_t step) {
  VMPtr<Paintable> shown = layerDrawable(layer);
  if (shown && shown->getKind() == 2) VMPtr<Players>(players)->get(layer)->setStep(step);
}

void Screen::setLayerClip(int32_t layer, VMPtr<Ints> clip) {
  VMPtr<Ints> own = VMPtr<Rows>(clips)->get(layer);
  for (int32_t i = 0; i < 4; ++i) own->at(i) = clip->at(i);
}

// A layer whose set-up threw after the acquire holds slots without a
// drawable: they are given back here too, so nothing stays counted.
void Screen::releaseLayer(int32_t layer) {
  VMPtr<Ints> gobs = gobSlots;
  VMPtr<Ints> sets = animSetSlots;
  VMPtr<Paintables> shown = drawables;
  if (!shown->get(layer) && gobs->at(layer) == -1 && sets->at(layer) == -1) return;
  ResManager::release(gobs->at(layer), sets->at(layer));
  gobs->at(layer) = -1;
  sets->at(layer) = -1;
  VMPtr<Players>(players)->set(layer, nullptr);
  shown->set(layer, nullptr);
}

// --- Background and rectangles --------------------------------------------

void Screen::setBackgroundColour(int32_t c) {
  backgroundTop = c;
  backgroundBottom = c;
}

void Screen::setBackgroundColours(int32_t top, int32_t bottom) {
  backgroundTop = top;
  backgroundBottom = bottom;
}

void Screen::initRects(int32_t n) {
  VMPtr<Rows> list = Rows::createMulti(1, n);
  VMPtr<Ints> colours = Ints::create(n);
  rects = list;
  rectColours = colours;
}

void Screen::setRect(int32_t index, VMPtr<Ints> rect, int32_t colour) {
  VMPtr<Ints> copy = Ints::create(rect->length);
  for (int32_t i = 0; i < rect->length; ++i) copy->at(i) = rect->at(i);
  VMPtr<Rows>(rects)->set(index, copy);
  VMPtr<Ints>(rectColours)->at(index) = colour;
}

void Screen::removeRect(int32_t index) { VMPtr<Rows>(rects)->set(index, nullptr); }

// --- Lifecycle --------------------------------------------------------------

int32_t Screen::sceneFrameTime() {
  scene::SceneManager::_VM_clinitCheck();
  VMPtr<Scene> current = scene::SceneManager::currentScene;
  return current ? current->frameTime : 0;
}

// A finished animation whose successor the set lacks holds its last step:
// the layer keeps its value and is asked again next frame.
void Screen::tick() {
  if (paused) return;
  VMPtr<Paintables> shown = drawables;
  if (!shown) return;
  const int32_t n = visitedLayers(layerCount, shown);
  const int32_t elapsed = sceneFrameTime();
  for (int32_t i = 0; i < n; ++i) {
    VMPtr<Paintable> drawable = shown->get(i);
    if (!drawable || drawable->getKind() != 2) continue;
    VMPtr<AnimPlayer> player = VMPtr<Players>(players)->get(i);
    player->update(elapsed);
    if (player->getLoopCount() != 0) continue;
    const int32_t next = VMPtr<Ints>(layerValues)->at(i) + 1;
    if (next >= player->getAnimSet()->getAnimationCount()) continue;
    VMPtr<Ints>(layerValues)->at(i) = next;
    player->setAnimation(next);
  }
}

void Screen::paint(VMPtr<Graphics> g) {
  if (backgroundEnabled) paintBackground(g);
  if (rects) paintRects(g);
  VMPtr<Paintables> shown = drawables;
  const int32_t n = shown ? visitedLayers(layerCount, shown) : 0;
  for (int32_t i = 0; i < n; ++i) {
    if (shown->get(i)) paintLayer(g, i);
  }
  g->setClip(0, 0, Main::kGameWidth, Main::kGameHeight);
}

// At the Graphics' origin, which the controller has moved to the game
// area's corner.
void Screen::paintBackground(VMPtr<Graphics> g) {
  if (backgroundTop == backgroundBottom) {
    g->setColor(backgroundTop);
    g->fillRect(0, 0, Main::kGameWidth, Main::kGameHeight);
  } else {
    tq::TqCanvas::fillVerticalGradient(g, 0, 0, Main::kGameWidth, Main::kGameHeight, backgroundTop,
                                       backgroundBottom);
  }
}

void Screen::paintRects(VMPtr<Graphics> g) {
  VMPtr<Rows> list = rects;
  for (int32_t i = 0; i < list->length; ++i) {
    VMPtr<Ints> r = list->get(i);
    if (!r) continue;
    g->setColor(VMPtr<Ints>(rectColours)->at(i));
    g->fillRect(r->at(0), r->at(1), r->at(2), r->at(3));
  }
}

void Screen::paintLayer(VMPtr<Graphics> g, int32_t layer) {
  VMPtr<Paintable> shown = VMPtr<Paintables>(drawables)->get(layer);
  VMPtr<Ints> offset = VMPtr<Rows>(offsets)->get(layer);
  VMPtr<Ints> clip = VMPtr<Rows>(clips)->get(layer);
  if (clip->at(2) == 0 || clip->at(3) == 0) {
    shown->paint(g, offset->at(0), offset->at(1), 0);
    return;
  }
  VMPtr<Ints> saved = savedClip;
  saved->at(0) = g->getClipX();
  saved->at(1) = g->getClipY();
  saved->at(2) = g->getClipWidth();
  saved->at(3) = g->getClipHeight();
  g->setClip(clip->at(0), clip->at(1), clip->at(2), clip->at(3));
  shown->paint(g, offset->at(0), offset->at(1), 0);
  g->setClip(saved->at(0), saved->at(1), saved->at(2), saved->at(3));
}

void Screen::emptyTables(bool release) {
  VMPtr<Paintables> shown = drawables;
  for (int32_t i = 0; shown && i < shown->length; ++i) shown->set(i, nullptr);
  VMPtr<Players> playing = players;
  for (int32_t i = 0; playing && i < playing->length; ++i) playing->set(i, nullptr);
  VMPtr<Ints> gobs = gobSlots;
  VMPtr<Ints> sets = animSetSlots;
  if (!gobs || !sets) return;
  for (int32_t i = 0; i < gobs->length; ++i) {
    if (release) ResManager::release(gobs->at(i), sets->at(i));
    gobs->at(i) = -1;
    sets->at(i) = -1;
  }
}

void Screen::dispose() { emptyTables(true); }

void Screen::clear() { emptyTables(false); }

void Screen::_VM_markReferences(int colour) {
  _VM_mark(savedClip, colour);
  _VM_mark(clips, colour);
  _VM_mark(gobSlots, colour);
  _VM_mark(players, colour);
  _VM_mark(layerValues, colour);
  _VM_mark(animSetSlots, colour);
  _VM_mark(drawables, colour);
  _VM_mark(offsets, colour);
  _VM_mark(rects, colour);
  _VM_mark(rectColours, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace ui
