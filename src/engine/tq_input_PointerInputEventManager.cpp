#include "tq_input_PointerInputEventManager.h"

#include "VMSynchronized.h"
#include "java_lang_System.h"
#include "tq_TqCanvas.h"

VM_REGISTER_CLASS(tq::input::PointerInputEventManager, "tq.input.PointerInputEventManager", "java.lang.Object",
                  VM_HAS_CLINIT);

namespace tq::input {

uint8_t PointerInputEventManager::enabled;
uint8_t PointerInputEventManager::paused;
uint8_t PointerInputEventManager::ignoreInput;
int32_t PointerInputEventManager::areaX;
int32_t PointerInputEventManager::areaY;
int32_t PointerInputEventManager::areaWidth;
int32_t PointerInputEventManager::areaHeight;
int32_t PointerInputEventManager::requestedAreaWidth;
int32_t PointerInputEventManager::requestedAreaHeight;
int32_t PointerInputEventManager::originX;
int32_t PointerInputEventManager::originY;
VMStatic<VMArray<PointerInputEventManager::Event>> PointerInputEventManager::events;
int32_t PointerInputEventManager::head;
int32_t PointerInputEventManager::tail;
int32_t PointerInputEventManager::count;
int32_t PointerInputEventManager::eventX;
int32_t PointerInputEventManager::eventY;
int8_t PointerInputEventManager::eventType;
int8_t PointerInputEventManager::eventPointer;
int64_t PointerInputEventManager::eventTime;
int64_t PointerInputEventManager::timeBase;
VMStatic<java::lang::Object> PointerInputEventManager::queueLock;
VMStatic<java::lang::Object> PointerInputEventManager::areaLock;
VMStatic<VMArray<uint8_t>> PointerInputEventManager::pointerPressed;
VMStatic<VMArray<int32_t>> PointerInputEventManager::pointerLastX;
VMStatic<VMArray<int32_t>> PointerInputEventManager::pointerLastY;
VMStatic<VMArray<int64_t>> PointerInputEventManager::pointerLastTime;

void PointerInputEventManager::_VM_clinit() {
  queueLock = java::lang::Object::_VM_new()->_VM_init();
  areaLock = java::lang::Object::_VM_new()->_VM_init();
  timeBase = java::lang::System::currentTimeMillis();
}

void PointerInputEventManager::init() {
  _VM_clinitCheck();
  requestedAreaWidth = requestedAreaHeight = -1;
  VMPtr<TqCanvas> canvas = TqCanvas::instance;
  areaWidth = canvas->getViewWidth();
  areaHeight = canvas->getViewHeight();
  VMPtr<VMArray<uint8_t>> pressed = VMArray<uint8_t>::create(1);
  VMPtr<VMArray<int32_t>> lastX = VMArray<int32_t>::create(1);
  VMPtr<VMArray<int32_t>> lastY = VMArray<int32_t>::create(1);
  VMPtr<VMArray<int64_t>> lastTime = VMArray<int64_t>::create(1);
  pointerPressed = pressed;
  pointerLastX = lastX;
  pointerLastY = lastY;
  pointerLastTime = lastTime;
}

void PointerInputEventManager::setEnabled(uint8_t on) {
  _VM_clinitCheck();
  VMSynchronized lock(queueLock);
  if ((enabled != 0) == (on != 0)) return;
  if (on) {
    // The records are made before the queue counts as enabled.
    VMPtr<VMArray<Event>> ring = VMArray<Event>::create(kRingSize);
    for (int32_t i = kRingSize - 1; i >= 0; --i) ring->set(i, Event::_VM_new()->_VM_init());
    events = ring;
    enabled = 1;
    clear();
  } else {
    enabled = 0;
    events = nullptr;
    count = 0;
  }
}

uint8_t PointerInputEventManager::isEnabled() {
  _VM_clinitCheck();
  return enabled;
}

void PointerInputEventManager::clear() {
  _VM_clinitCheck();
  VMSynchronized lock(queueLock);
  head = 0;
  tail = kRingSize - 1;
  count = 0;
  eventX = eventY = 0;
  eventTime = -1;
  eventType = 0;
}

void PointerInputEventManager::setArea(int32_t x, int32_t y, int32_t width, int32_t height) {
  _VM_clinitCheck();
  VMSynchronized lock(areaLock);
  areaX = x;
  areaY = y;
  requestedAreaWidth = width;
  requestedAreaHeight = height;
  VMPtr<TqCanvas> canvas = TqCanvas::instance;
  areaWidth = width < 0 ? canvas->getViewWidth() : width;
  areaHeight = height < 0 ? canvas->getViewHeight() : height;
}

void PointerInputEventManager::canvasChanged() {
  _VM_clinitCheck();
  if (requestedAreaWidth < 0 || requestedAreaHeight < 0) {
    setArea(areaX, areaY, requestedAreaWidth, requestedAreaHeight);
  }
  VMPtr<TqCanvas> canvas = TqCanvas::instance;
  originX = canvas->getViewX();
  originY = canvas->getViewY();
}

bool PointerInputEventManager::confine(int32_t pointer, int32_t& x, int32_t& y, int32_t& type) {
  VMSynchronized lock(areaLock);
  const bool inside = x >= areaX && x < areaX + areaWidth && y >= areaY && y < areaY + areaHeight;
  if (inside) return true;
  if (!pointerPressed->at(pointer)) return false;
  type = kRelease;
  x = x < areaX ? areaX : (x >= areaX + areaWidth ? areaX + areaWidth - 1 : x);
  y = y < areaY ? areaY : (y >= areaY + areaHeight ? areaY + areaHeight - 1 : y);
  return true;
}

void PointerInputEventManager::addEvent(int32_t pointer, int32_t x, int32_t y, int32_t type, int64_t time) {
  _VM_clinitCheck();
  // Before init there is no per-pointer state to pair events with.
  if (ignoreInput || pointer != 0 || !pointerPressed) return;
  x -= originX;
  y -= originY;
  if (!confine(pointer, x, y, type)) return;
  const bool pressed = pointerPressed->at(pointer) != 0;
  if (!pressed && type == kRelease) return;
  if (!pressed && type == kDrag) type = kPress;
  if (type == kPress && pressed) {
    enqueue(pointer, pointerLastX->at(pointer), pointerLastY->at(pointer), kRelease,
            pointerLastTime->at(pointer));
  }
  enqueue(pointer, x, y, type, time);
}

void PointerInputEventManager::enqueue(int32_t pointer, int32_t x, int32_t y, int32_t type, int64_t time) {
  {
    VMSynchronized lock(queueLock);
    if (enabled) {
      advanceTail();
      ++count;
      Event* e = events->get(tail).get();
      e->x = static_cast<int16_t>(x);
      e->y = static_cast<int16_t>(y);
      e->type = static_cast<int8_t>(type);
      e->pointer = static_cast<int8_t>(pointer);
      e->time = static_cast<int32_t>(time - timeBase);
    }
  }
  pointerPressed->at(pointer) = type == kPress || type == kDrag;
  pointerLastX->at(pointer) = x;
  pointerLastY->at(pointer) = y;
  pointerLastTime->at(pointer) = time;
}

void PointerInputEventManager::advanceTail() {
  tail = (tail + 1) % kRingSize;
  if (count <= 0 || tail != head) return;
  const int32_t dropped = dropOldest();
  head = (head + dropped) % kRingSize;
  count -= dropped;
}

int8_t PointerInputEventManager::typeAt(int32_t offset) { return events->get((head + offset) % kRingSize)->type; }

int32_t PointerInputEventManager::dropOldest() {
  const int8_t first = typeAt(0);
  const int8_t second = typeAt(1);
  if (first == kPress) {
    if (second == kRelease) return 2;  // a whole press and release
    swapEvents(0, 1);                  // keep the press, drop what follows it
    return 1;
  }
  if (first == kRelease && second == kPress) {
    if (typeAt(2) == kRelease) {  // keep the release, drop the next pair
      swapEvents(0, 2);
      return 2;
    }
    swapEvents(1, 2);  // keep the release and the press, drop what follows
    swapEvents(0, 1);
    return 1;
  }
  if (first == kRelease) {  // keep the release, drop the drag or release after it
    swapEvents(0, 1);
    return 1;
  }
  return 1;  // a drag at the head
}

void PointerInputEventManager::swapEvents(int32_t i, int32_t j) {
  VMArray<Event>* ring = events.get();
  const int32_t a = (head + i) % kRingSize;
  const int32_t b = (head + j) % kRingSize;
  VMPtr<Event> kept = ring->get(a);
  ring->set(a, ring->get(b));
  ring->set(b, kept);
}

uint8_t PointerInputEventManager::nextEvent() {
  _VM_clinitCheck();
  if (count <= 0 || paused) return 0;
  VMSynchronized lock(queueLock);
  if (!enabled || count <= 0) return 0;
  Event* e = events->get(head).get();
  eventX = e->x;
  eventY = e->y;
  eventType = e->type;
  eventTime = timeBase + e->time;
  head = (head + 1) % kRingSize;
  eventPointer = e->pointer;
  --count;
  return 1;
}

int32_t PointerInputEventManager::getEventCount() {
  _VM_clinitCheck();
  return count;
}
int32_t PointerInputEventManager::getEventX() {
  _VM_clinitCheck();
  return eventX;
}
int32_t PointerInputEventManager::getEventY() {
  _VM_clinitCheck();
  return eventY;
}
int8_t PointerInputEventManager::getEventType() {
  _VM_clinitCheck();
  return eventType;
}
int8_t PointerInputEventManager::getEventPointer() {
  _VM_clinitCheck();
  return eventPointer;
}
int64_t PointerInputEventManager::getEventTime() {
  _VM_clinitCheck();
  return eventTime;
}
void PointerInputEventManager::setPaused(uint8_t on) {
  _VM_clinitCheck();
  paused = on;
}
void PointerInputEventManager::setIgnoreInput(uint8_t on) {
  _VM_clinitCheck();
  ignoreInput = on;
}

void PointerInputEventManager::releaseAll() {
  _VM_clinitCheck();
  if (!pointerPressed) return;
  const int64_t now = java::lang::System::currentTimeMillis();
  for (int32_t i = 0; i < pointerPressed->length; ++i) {
    if (pointerPressed->at(i)) enqueue(i, pointerLastX->at(i), pointerLastY->at(i), kRelease, now);
  }
}

}  // namespace tq::input
