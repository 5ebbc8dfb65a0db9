#include "ui_Pointer.h"

#include "tq_input_PointerInputEventManager.h"
#include "tq_input_PointerInputKeyManager.h"

VM_REGISTER_CLASS(ui::Pointer, "ui.Pointer", "java.lang.Object", VM_INSTANTIABLE);

namespace ui {

using tq::graphics::CollisionBox;
using tq::input::PointerInputEventManager;
using tq::input::PointerInputKeyManager;
using tq::input::PointerInputKeyRegion;

VMStatic<Pointer::Ints> Pointer::pressX, Pointer::pressY, Pointer::prevX, Pointer::prevY, Pointer::curX, Pointer::curY;
VMStatic<Pointer::Flags> Pointer::down, Pointer::released, Pointer::tap, Pointer::up;
int32_t Pointer::offsetX, Pointer::offsetY, Pointer::offsetMaxX, Pointer::offsetMaxY, Pointer::offsetMinX,
    Pointer::offsetMinY;
VMStatic<VMArray<CollisionBox>> Pointer::boxes;
VMStatic<CollisionBox> Pointer::boxArea;
VMStatic<VMArray<PointerInputKeyRegion>> Pointer::regionHolder;

namespace {

constexpr int32_t kUp = 1;
constexpr int32_t kLeft = 2;
constexpr int32_t kRight = 5;
constexpr int32_t kDown = 6;

VMPtr<VMArray<int32_t>> zeros() { return VMArray<int32_t>::create(1); }

VMPtr<VMArray<uint8_t>> flag(uint8_t v) {
  VMPtr<VMArray<uint8_t>> a = VMArray<uint8_t>::create(1);
  a->at(0) = v;
  return a;
}

VMPtr<CollisionBox> boxOf(const VMPtr<VMArray<int32_t>>& r) {
  VMPtr<CollisionBox> box = CollisionBox::make();
  box->set(r->at(0), r->at(1), r->at(2), r->at(3));
  return box;
}

// The lower bound is tested first.
int32_t clampOffset(int32_t offset, int32_t position, int32_t min, int32_t max) {
  if (position + offset < min) return min - position;
  if (position + offset > max) return max - position;
  return offset;
}

}  // namespace

VMPtr<Pointer> Pointer::_VM_init() {
  Base::_VM_init();
  init();
  return VMPtr<Pointer>(this);
}

// The arrays are made before any static changes: each allocation may let
// another thread run, and the state is replaced in one go afterwards.
void Pointer::init() {
  PointerInputEventManager::setEnabled(1);
  VMPtr<Ints> a[6] = {zeros(), zeros(), zeros(), zeros(), zeros(), zeros()};
  VMPtr<Flags> f[4] = {flag(0), flag(0), flag(0), flag(1)};
  _VM_clinitCheck();
  pressX = a[0];
  pressY = a[1];
  prevX = a[2];
  prevY = a[3];
  curX = a[4];
  curY = a[5];
  down = f[0];
  released = f[1];
  tap = f[2];
  up = f[3];
  offsetX = offsetY = offsetMaxX = offsetMaxY = offsetMinX = offsetMinY = 0;
}

void Pointer::reset() {
  PointerInputKeyManager::removeRegions(0);
  _VM_clinitCheck();
  regionHolder = nullptr;
  init();
}

void Pointer::tick(int32_t, int32_t) { update(); }

void Pointer::update() {
  _VM_clinitCheck();
  if (released->at(0)) finishDrag();
  for (int32_t n = 0; n < kEventsPerFrame && PointerInputEventManager::nextEvent(); ++n) {
    if (PointerInputEventManager::getEventPointer() != 0) continue;
    applyEvent(PointerInputEventManager::getEventType(), PointerInputEventManager::getEventX(),
               PointerInputEventManager::getEventY());
  }
}

void Pointer::finishDrag() {
  offsetX += curX->at(0) - pressX->at(0);
  offsetY += curY->at(0) - pressY->at(0);
  offsetX = clampOffset(offsetX, curX->at(0), offsetMinX, offsetMaxX);
  offsetY = clampOffset(offsetY, curY->at(0), offsetMinY, offsetMaxY);
  pressX->at(0) = pressY->at(0) = prevX->at(0) = prevY->at(0) = curX->at(0) = curY->at(0) = 0;
  down->at(0) = 0;
  released->at(0) = 0;
}

void Pointer::moveTo(int32_t x, int32_t y) {
  prevX->at(0) = curX->at(0);
  prevY->at(0) = curY->at(0);
  curX->at(0) = x;
  curY->at(0) = y;
}

void Pointer::applyEvent(int32_t type, int32_t x, int32_t y) {
  switch (type) {
    case PointerInputEventManager::kPress:
      down->at(0) = 1;
      released->at(0) = 0;
      tap->at(0) = up->at(0) ? 1 : 0;
      up->at(0) = 0;
      pressX->at(0) = prevX->at(0) = curX->at(0) = x;
      pressY->at(0) = prevY->at(0) = curY->at(0) = y;
      break;
    case PointerInputEventManager::kDrag:
      if (!up->at(0)) tap->at(0) = 0;
      moveTo(x, y);
      break;
    case PointerInputEventManager::kRelease:
      down->at(0) = 0;
      released->at(0) = 1;
      up->at(0) = 1;
      moveTo(x, y);
      break;
    default:
      break;
  }
}

int32_t Pointer::boxAt(int32_t p) {
  _VM_clinitCheck();
  VMPtr<VMArray<CollisionBox>> list = boxes;
  VMPtr<CollisionBox> area = boxArea;
  if (!list || !area) return -1;
  const int32_t x = curX->at(p);
  const int32_t y = curY->at(p);
  if (!area->contains(x, y)) return -1;
  for (int32_t i = 0; i < list->length; ++i) {
    VMPtr<CollisionBox> box = list->get(i);
    if (box && box->contains(x, y)) return i;
  }
  return -1;
}

int32_t Pointer::pressedBox(int32_t p) {
  const int32_t box = boxAt(p);
  return box != -1 && down->at(p) ? box : -1;
}

int32_t Pointer::releasedBox(int32_t p) {
  const int32_t box = boxAt(p);
  return box != -1 && !down->at(p) && released->at(p) ? box : -1;
}

uint8_t Pointer::isInside(VMPtr<Ints> rect, int32_t p) {
  _VM_clinitCheck();
  const int32_t x = curX->at(p);
  const int32_t y = curY->at(p);
  return rect->at(0) <= x && x <= rect->at(0) + rect->at(2) && rect->at(1) <= y && y <= rect->at(1) + rect->at(3);
}

void Pointer::setBoxes(int32_t, VMPtr<VMArray<int32_t, 2>> rects, VMPtr<Ints> area) {
  VMPtr<VMArray<CollisionBox>> list = VMArray<CollisionBox>::create(rects->length);
  for (int32_t i = 0; i < rects->length; ++i) list->set(i, boxOf(VMPtr<Ints>(rects->get(i))));
  VMPtr<CollisionBox> areaBox = boxOf(area);
  _VM_clinitCheck();
  boxes = list;
  boxArea = areaBox;
}

void Pointer::addRegion(int32_t type, VMPtr<Ints> rect) {
  _VM_clinitCheck();
  if (rect->at(2) != 0 && rect->at(3) != 0) {
    if (!regionHolder) {
      VMPtr<VMArray<PointerInputKeyRegion>> holder = VMArray<PointerInputKeyRegion>::create(4);
      if (!regionHolder) regionHolder = holder;
    }
    VMPtr<PointerInputKeyRegion> region =
        PointerInputKeyRegion::create(type, rect->at(0), rect->at(1), rect->at(2), rect->at(3));
    VMPtr<VMArray<PointerInputKeyRegion>> holder = regionHolder;
    if (holder) holder->set(0, region);
    PointerInputKeyManager::addRegion(region);
  }
  VMPtr<VMArray<PointerInputKeyRegion>> holder = regionHolder;
  if (holder) holder->set(0, nullptr);
}

void Pointer::removeRegion(int32_t type, VMPtr<Ints> rect) {
  if (rect->at(2) == 0 || rect->at(3) == 0) return;
  const int32_t n = PointerInputKeyManager::getRegionCount(type);
  VMPtr<VMArray<PointerInputKeyRegion>> found = VMArray<PointerInputKeyRegion>::create(n);
  const int32_t got = PointerInputKeyManager::getRegions(found, type);
  for (int32_t i = 0; i < got && i < n; ++i) {
    VMPtr<PointerInputKeyRegion> r = found->get(i);
    if (r && r->x == rect->at(0) && r->y == rect->at(1) && r->width == rect->at(2) && r->height == rect->at(3)) {
      PointerInputKeyManager::removeRegion(r);
    }
  }
}

void Pointer::addUpRegion(VMPtr<Ints> rect) { addRegion(kUp, rect); }
void Pointer::addDownRegion(VMPtr<Ints> rect) { addRegion(kDown, rect); }
void Pointer::addLeftRegion(VMPtr<Ints> rect) { addRegion(kLeft, rect); }
void Pointer::addRightRegion(VMPtr<Ints> rect) { addRegion(kRight, rect); }
void Pointer::removeUpRegion(VMPtr<Ints> rect) { removeRegion(kUp, rect); }
void Pointer::removeDownRegion(VMPtr<Ints> rect) { removeRegion(kDown, rect); }
void Pointer::removeLeftRegion(VMPtr<Ints> rect) { removeRegion(kLeft, rect); }
void Pointer::removeRightRegion(VMPtr<Ints> rect) { removeRegion(kRight, rect); }

int32_t Pointer::getEventCount() { return PointerInputEventManager::getEventCount(); }

int32_t Pointer::getX(int32_t p) {
  _VM_clinitCheck();
  return curX->at(p);
}
int32_t Pointer::getY(int32_t p) {
  _VM_clinitCheck();
  return curY->at(p);
}
int32_t Pointer::getPrevX(int32_t p) {
  _VM_clinitCheck();
  return prevX->at(p);
}
int32_t Pointer::getPrevY(int32_t p) {
  _VM_clinitCheck();
  return prevY->at(p);
}
int32_t Pointer::getPressX(int32_t p) {
  _VM_clinitCheck();
  return pressX->at(p);
}
int32_t Pointer::getPressY(int32_t p) {
  _VM_clinitCheck();
  return pressY->at(p);
}
int32_t Pointer::getDragX(int32_t p) { return getX(p) - getPressX(p); }
int32_t Pointer::getDragY(int32_t p) { return getY(p) - getPressY(p); }

void Pointer::setPressX(int32_t p, int32_t v) {
  _VM_clinitCheck();
  pressX->at(p) = v;
}
void Pointer::setPressY(int32_t p, int32_t v) {
  _VM_clinitCheck();
  pressY->at(p) = v;
}
void Pointer::setOffsetX(int32_t v) {
  _VM_clinitCheck();
  offsetX = v;
}
void Pointer::setOffsetY(int32_t v) {
  _VM_clinitCheck();
  offsetY = v;
}

void Pointer::setOffsetBounds(int32_t maxX, int32_t maxY, int32_t minX, int32_t minY) {
  _VM_clinitCheck();
  offsetMaxX = maxX;
  offsetMaxY = maxY;
  offsetMinX = minX;
  offsetMinY = minY;
}

void Pointer::resetX() {
  _VM_clinitCheck();
  offsetX = 0;
  curX->at(0) = pressX->at(0) = prevX->at(0) = 0;
}

void Pointer::resetY() {
  _VM_clinitCheck();
  offsetY = 0;
  curY->at(0) = pressY->at(0) = prevY->at(0) = 0;
}

}  // namespace ui
