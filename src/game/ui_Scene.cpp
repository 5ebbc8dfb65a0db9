#include "ui_Scene.h"

#include <climits>

#include "java_lang_System.h"
#include "main_Main.h"
#include "scene_SceneManager.h"

VM_REGISTER_CLASS(ui::Scene, "ui.Scene", "java.lang.Object", VM_ABSTRACT);

namespace ui {

using main::Main;
using Ints = VMArray<int32_t>;

VMPtr<Scene> Scene::_VM_init() {
  Base::_VM_init();
  VMPtr<Objects> list = Objects::create(kInitialCapacity);
  objects = list;
  VMPtr<Ints> order = Ints::create(kInitialCapacity);
  drawOrder = order;
  capacity = kInitialCapacity;
  growth = kInitialCapacity;
  startTime = tq::TqCanvas::getTimeMillis();
  VMPtr<Ints> scratch = Ints::create(5);
  rect = scratch;
  Main::_VM_clinitCheck();
  translation = Main::translation;
  scene::SceneManager::_VM_clinitCheck();
  sceneManager = scene::SceneManager::instance;
  canvas = Main::canvas;
  return VMPtr<Scene>(this);
}

void Scene::suspend(uint8_t b) {
  loadPhase = 0;
  suspended = b;
}

void Scene::enter() {
  elapsed = 0;
  wallElapsed = 0;
  startTime = tq::TqCanvas::getTimeMillis();
  if (suspended) return;
  loadCounter = 0;
  do {
    loadStep();
  } while (loadCounter != 0);
  prepareCounter = 0;
  do {
    prepareStep();
  } while (prepareCounter != 0);
  createWidgets();
  compactObjects();
  sortObjects();
}

void Scene::restart() {
  removeAllObjects();
  enter();
}

// The wall-clock gap is kept only when it fits in an int, else it is 0.
void Scene::update() {
  VMPtr<tq::TqCanvas> c = canvas;
  frameTime = c ? c->getFrameDuration() : 0;
  elapsed += frameTime;
  const int64_t now = tq::TqCanvas::getTimeMillis();
  const int64_t gap = now - startTime;
  lastDelta = gap >= INT32_MIN && gap <= INT32_MAX ? static_cast<int32_t>(gap) : 0;
  wallElapsed += lastDelta;
  startTime = now;
  if (suspended) {
    advanceLoading();
    return;
  }
  // The list is read again at every cell: an object may add or remove
  // objects in its tick.
  for (int32_t i = 0; i < VMPtr<Objects>(objects)->length; ++i) {
    VMPtr<MyObject> o = VMPtr<Objects>(objects)->get(i);
    if (!o) continue;
    if (o->isVisible()) o->tick();
    if (o->active) o->pollInput();
  }
}

void Scene::advanceLoading() {
  switch (loadPhase) {
    case 0:
      loadStep();
      if (loadCounter == 0) loadPhase = 1;
      break;
    case 1:
      prepareStep();
      if (prepareCounter == 0) loadPhase = 2;
      break;
    case 2:
      createWidgets();
      loadPhase = 3;
      break;
    case 3:
      compactObjects();
      sortObjects();
      loadPhase = 4;
      finishLoading();
      break;
    default:
      finishLoading();
      break;
  }
}

void Scene::finishLoading() {
  suspended = 0;
  Main::_VM_clinitCheck();
  Main::repaintAll = 1;
  VMPtr<scene::SceneManager> manager = scene::SceneManager::instance;
  VMPtr<Main> controller = Main::instance;
  if ((!manager || manager->sceneId != kPlaySceneId) && controller) controller->playSound();
}

void Scene::resetClip(VMPtr<Graphics> g) { VMPtr<tq::TqCanvas>(canvas)->resetClip(g); }

void Scene::setClip(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h) { g->setClip(x, y, w, h); }

int32_t Scene::depthAt(int32_t i) {
  VMPtr<MyObject> o = VMPtr<Objects>(objects)->get(VMPtr<Ints>(drawOrder)->at(i));
  return o ? o->getDepth() : INT_MAX;
}

void Scene::paint(VMPtr<Graphics> g) {
  setClip(g, 0, 0, Main::kGameWidth, Main::kGameHeight);
  if (!suspended) paintObjects(g);
  resetClip(g);
}

// The background goes before the first object when that one is deeper
// than 40, else right after the last object above 40 (an object below 40
// followed by one at 40 or more), else after all of them.
void Scene::paintObjects(VMPtr<Graphics> g) {
  const int32_t n = VMPtr<Ints>(drawOrder)->length;
  bool done = false;
  for (int32_t i = 0; i < n; ++i) {
    if (!done && i == 0 && depthAt(0) > MyObject::kBackgroundDepth) {
      paintBackground(g);
      done = true;
    }
    VMPtr<MyObject> o = VMPtr<Objects>(objects)->get(VMPtr<Ints>(drawOrder)->at(i));
    if (o && o->isVisible()) o->paint(g);
    if (done) continue;
    if (i + 1 < n) {
      if (depthAt(i) < MyObject::kBackgroundDepth && depthAt(i + 1) >= MyObject::kBackgroundDepth) {
        paintBackground(g);
        done = true;
      }
    } else {
      paintBackground(g);
      done = true;
    }
  }
  if (!done) paintBackground(g);
}

// drawOrder[i] = i, then a stable sort by ascending depth (equal depths
// keep list order; empty cells last).
void Scene::sortObjects() {
  VMPtr<Ints> order = drawOrder;
  const int32_t n = order->length;
  for (int32_t i = 0; i < n; ++i) order->at(i) = i;
  for (int32_t i = 1; i < n; ++i) {
    const int32_t moving = order->at(i);
    const int32_t depth = depthAt(i);
    int32_t j = i;
    for (; j > 0 && depthAt(j - 1) > depth; --j) order->at(j) = order->at(j - 1);
    order->at(j) = moving;
  }
}

void Scene::addObject(VMPtr<MyObject> o) {
  int32_t i = 0;
  while (i < VMPtr<Objects>(objects)->length && VMPtr<Objects>(objects)->get(i)) ++i;
  if (i == VMPtr<Objects>(objects)->length) growObjects();
  VMPtr<Objects>(objects)->set(i, o);
}

void Scene::growObjects() {
  int32_t step = growth / 2;
  if (step < kMinGrowth) step = kMinGrowth;
  growth = step;
  resize(capacity + step);
}

void Scene::compactObjects() {
  VMPtr<Objects> list = objects;
  int32_t n = list->length;
  while (n > 0 && !list->get(n - 1)) --n;
  resize(n);
  growth = n;
}

// Both arrays become `length` long, their common front copied.
void Scene::resize(int32_t length) {
  VMPtr<Objects> list = Objects::create(length);
  VMPtr<Ints> order = Ints::create(length);
  VMPtr<Objects> oldList = objects;
  VMPtr<Ints> oldOrder = drawOrder;
  const int32_t keptList = oldList->length < length ? oldList->length : length;
  const int32_t keptOrder = oldOrder->length < length ? oldOrder->length : length;
  java::lang::System::arraycopy(oldList, 0, list, 0, keptList);
  java::lang::System::arraycopy(oldOrder, 0, order, 0, keptOrder);
  objects = list;
  drawOrder = order;
  capacity = length;
}

// The draw order is sorted again after the trim: the old order may name
// the removed cell or cells past the new end.
void Scene::removeObject(int32_t index) {
  VMPtr<Objects> list = objects;
  if (!list || index < 0 || index >= list->length) return;
  VMPtr<MyObject> o = list->get(index);
  if (!o) return;
  o->dispose();
  list->set(index, nullptr);
  compactObjects();
  sortObjects();
}

void Scene::removeAllObjects() {
  VMPtr<Objects> list = objects;
  for (int32_t i = 0; list && i < list->length; ++i) {
    VMPtr<MyObject> o = list->get(i);
    if (!o) continue;
    o->dispose();
    list->set(i, nullptr);
  }
  VMPtr<Screen> own = screen;
  if (own) {
    own->dispose();
    screen = nullptr;
  }
  VMPtr<MyObject> box = menu;
  if (box) {
    box->dispose();
    menu = nullptr;
  }
}

void Scene::_VM_markReferences(int colour) {
  _VM_mark(objects, colour);
  _VM_mark(drawOrder, colour);
  _VM_mark(rect, colour);
  _VM_mark(screen, colour);
  _VM_mark(menu, colour);
  _VM_mark(translation, colour);
  _VM_mark(sceneManager, colour);
  _VM_mark(canvas, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace ui
