#include "tq_AnimPlayer.h"

#include "VMJava.h"
#include "java_lang_Throwable.h"

VM_REGISTER_CLASS(tq::AnimPlayer, "tq.AnimPlayer", "tq.Paintable", VM_INSTANTIABLE);

namespace tq {

namespace {

int32_t stepDx(int32_t entry) { return _VM_signExtend(static_cast<uint32_t>(entry) >> 12 & 0x3FF, 10); }
int32_t stepDy(int32_t entry) { return _VM_signExtend(static_cast<uint32_t>(entry) >> 2 & 0x3FF, 10); }

}  // namespace

VMPtr<AnimPlayer> AnimPlayer::_VM_init() {
  Base::_VM_init();
  animation = -1;
  boxType = -1;
  return VMPtr<AnimPlayer>(this);
}

void AnimPlayer::_VM_markReferences(int colour) {
  _VM_mark(animationFrame, colour);
  _VM_mark(animSet, colour);
  Base::_VM_markReferences(colour);
}

int32_t AnimPlayer::stepEntry(int32_t s) { return VMPtr<Ints>(getAnimSet()->steps)->at(firstStep + s); }

int32_t AnimPlayer::stepByte(int32_t s) {
  return VMPtr<VMArray<int8_t>>(getAnimSet()->stepBytes)->at(firstStep + s) & 0xFF;
}

int32_t AnimPlayer::durationOf(int32_t s) {
  return VMPtr<AnimSet::Chars>(getAnimSet()->durations)->at(stepByte(s) & 0x3F);
}

void AnimPlayer::paint(VMPtr<Graphics> g, int32_t px, int32_t py, int32_t t) {
  const int8_t savedTransform = transform;
  const int16_t savedX = x, savedY = y;
  transform = static_cast<int8_t>(transform ^ t);
  x = static_cast<int16_t>(x + px);
  y = static_cast<int16_t>(y + py);
  try {
    paint(g);
  } catch (java::lang::Throwable* thrown) {
    transform = savedTransform;
    x = savedX;
    y = savedY;
    thrown->_VM_throw();
  }
  transform = savedTransform;
  x = savedX;
  y = savedY;
}

void AnimPlayer::paint(VMPtr<Graphics> g) {
  VMPtr<AnimSet> set = animSet;
  if (set && stepCount != 0) set->paintFrame(g, getFrameIndex(), x, y, transform);
  priority = 0;
}

int32_t AnimPlayer::getBoxes(int32_t t, VMPtr<Boxes> out, int32_t type) {
  return stepCount == 0 ? 0 : getAnimSet()->getBoxes(getFrameIndex(), t, out, type);
}

int32_t AnimPlayer::getBoxes(int32_t t, VMPtr<Ints> out, int32_t type) {
  return stepCount == 0 ? 0 : getAnimSet()->getBoxes(getFrameIndex(), t, out, type);
}

int32_t AnimPlayer::getBoxCount() { return stepCount == 0 ? 0 : getAnimSet()->getBoxCount(getFrameIndex()); }

VMPtr<Frame> AnimPlayer::getFrame() { return getAnimSet()->getFrame(getFrameIndex()); }

int32_t AnimPlayer::getFrameIndex() {
  return static_cast<int32_t>(static_cast<uint32_t>(stepEntry(displayStep)) >> 22);
}

void AnimPlayer::move(int32_t dx, int32_t dy) {
  x = static_cast<int16_t>(x + dx);
  y = static_cast<int16_t>(y + dy);
}

uint8_t AnimPlayer::collidesWith(VMPtr<Gob> gob, int32_t gx, int32_t gy, int32_t gt) {
  VMPtr<CollisionBox> box = CollisionBox::pointBox(0, 0, 0, 0);
  gob->writeBox(box, gx, gy, gt);
  return collidesWith(box);
}

uint8_t AnimPlayer::collidesWith(VMPtr<AnimPlayer> other) {
  return collides(x, y, transform, boxType, other, other->x, other->y, other->transform, other->boxType);
}

uint8_t AnimPlayer::collidesWith(int32_t px, int32_t py) { return collidesWith(CollisionBox::pointBox(px, py, 1, 1)); }

uint8_t AnimPlayer::collidesWith(VMPtr<CollisionBox> box) {
  const int32_t n = getBoxCount();
  if (n > 0 && !box->isEmpty()) {
    _VM_clinitCheck();
    scratchBoxes = CollisionBox::ensureCapacity(scratchBoxes, n);
    VMPtr<Boxes> own = scratchBoxes;
    const int32_t found = getBoxes(transform, own, boxType);
    for (int32_t i = 0; i < found; ++i) {
      VMPtr<CollisionBox> candidate = own->get(i);
      candidate->move(x, y);
      if (candidate->intersects(box)) {
        CollisionBox::setHits(candidate, box);
        return 1;
      }
    }
  }
  CollisionBox::clearHits();
  return 0;
}

int32_t AnimPlayer::getTime() {
  int32_t total = time;
  for (int32_t s = 0; s < step; ++s) total += durationOf(s);
  return total;
}

void AnimPlayer::setStep(int32_t s) {
  const int32_t entry = stepEntry(s);
  time = 0;
  step = static_cast<int16_t>(s);
  offsetY = static_cast<int16_t>(stepDy(entry));
  offsetX = static_cast<int16_t>(stepDx(entry));
  displayStep = static_cast<int16_t>(s);
  priority = static_cast<int8_t>(stepByte(s) >> 6);
}

void AnimPlayer::setAnimation(int32_t index) {
  animation = static_cast<int16_t>(index);
  const int32_t entry = VMPtr<Ints>(getAnimSet()->animations)->at(index);
  loopCounter = static_cast<int8_t>(_VM_signExtend(static_cast<uint32_t>(entry) >> 10 & 0x3F, 6));
  stepCount = static_cast<char16_t>(entry & 0x3FF);
  firstStep = static_cast<char16_t>(static_cast<uint32_t>(entry) >> 16);
  if (stepCount != 0) {
    setStep(0);
  } else {  // nothing to show: no step entry to read
    time = 0;
    step = displayStep = 0;
    priority = 0;
  }
  offsetX = 0;
  offsetY = 0;
}

VMPtr<Frame> AnimPlayer::getAnimationFrame() {
  if (!animationFrame) animationFrame = getAnimSet()->getAnimationFrame(animation);
  return VMPtr<Frame>(animationFrame);
}

int32_t AnimPlayer::getParts(VMPtr<Ints> out) {
  return stepCount == 0 ? 0 : getAnimSet()->getParts(getFrameIndex(), transform, out);
}

void AnimPlayer::blendedOffset(int32_t t, int32_t& ox, int32_t& oy) {
  const int32_t entry = stepEntry(step);
  ox = stepDx(entry);
  oy = stepDy(entry);
  if ((entry & 3) == 0 || loopCounter == 0 || (step + 1 == stepCount && loopCounter == 1)) return;
  int32_t nextX, nextY;
  if (step + 1 < stepCount) {
    const int32_t next = stepEntry(step + 1);
    nextX = stepDx(next);
    nextY = stepDy(next);
  } else {  // the next loop begins displaced by this step's offset
    const int32_t next = stepEntry(0);
    nextX = stepDx(next) + ox;
    nextY = stepDy(next) + oy;
  }
  const int32_t f = _VM_div(_VM_shl(t, 12), durationOf(step));
  ox += (nextX - ox) * f >> 12;
  oy += (nextY - oy) * f >> 12;
}

void AnimPlayer::moveBy(int32_t ddx, int32_t ddy) {
  if ((transform & 4) == 0) {
    move((transform & 2) != 0 ? -ddx : ddx, (transform & 1) != 0 ? -ddy : ddy);
  } else {
    move((transform & 1) != 0 ? -ddy : ddy, (transform & 2) != 0 ? -ddx : ddx);
  }
}

uint8_t AnimPlayer::update(int32_t elapsed) {
  if (loopCounter == 0) {
    prevX = x;
    prevY = y;
    return 0;
  }
  if (stepCount == 0) return 0;
  int32_t t = time + elapsed;
  int32_t shown = step;
  for (;;) {
    const int32_t d = durationOf(step);
    if (t < d) break;
    t -= d;
    ++step;
    if (step == stepCount) {
      if (loopCounter > 0 && --loopCounter == 0) {
        step = static_cast<int16_t>(stepCount - 1);  // hold the last step
        t = d;
        break;
      }
      step = 0;
      const int32_t last = stepEntry(stepCount - 1);
      offsetX = static_cast<int16_t>(offsetX - stepDx(last));
      offsetY = static_cast<int16_t>(offsetY - stepDy(last));
    }
    const int32_t m = stepByte(step) >> 6;
    if (m < priority) continue;
    priority = static_cast<int8_t>(m);
    shown = step;
    if (m == 3) break;
  }
  int32_t ox, oy;
  blendedOffset(t, ox, oy);
  const int16_t ddx = static_cast<int16_t>(ox - offsetX);
  const int16_t ddy = static_cast<int16_t>(oy - offsetY);
  prevX = x;
  prevY = y;
  displayStep = static_cast<int16_t>(shown);
  time = static_cast<char16_t>(t);
  offsetX = static_cast<int16_t>(ox);
  offsetY = static_cast<int16_t>(oy);
  moveBy(ddx, ddy);
  return loopCounter != 0;
}

VMPtr<Gob::Gobs> AnimPlayer::getGobs() {
  VMPtr<AnimSet> set = animSet;
  return set ? set->getGobs() : VMPtr<Gob::Gobs>();
}

int32_t AnimPlayer::getDuration() {
  VMPtr<AnimSet> set = animSet;
  return set ? set->getDuration(animation) : 0;
}

void AnimPlayer::paintBoxes(VMPtr<Graphics> g) {
  const int32_t n = getBoxCount();
  _VM_clinitCheck();
  scratchBoxes = CollisionBox::ensureCapacity(scratchBoxes, n);
  VMPtr<Boxes> own = scratchBoxes;
  const int32_t found = getBoxes(transform, own, boxType);
  for (int32_t i = 0; i < found; ++i) own->get(i)->paint(g, x, y, 0);
}

void AnimPlayer::getBounds(VMPtr<Ints> out) {
  if (stepCount == 0) return;
  getAnimSet()->getFrameBounds(getFrameIndex(), transform, out);
  out->at(0) += x;
  out->at(1) += y;
}

uint8_t AnimPlayer::getFirstBox(VMPtr<CollisionBox> out, int32_t px, int32_t py, int32_t t) {
  out->width = 0;
  if (stepCount == 0) return 0;
  _VM_clinitCheck();
  if (!scratchBoxes) scratchBoxes = CollisionBox::ensureCapacity(nullptr, 1);
  VMPtr<Boxes> own = scratchBoxes;
  if (getAnimSet()->getBoxes(getFrameIndex(), t, own, boxType) < 1) return 0;
  own->get(0)->copyGeometryTo(out);
  out->move(px, py);
  return 1;
}

int32_t AnimPlayer::getCollisionBox(VMPtr<Boxes> out, int32_t boxIndex) {
  VMPtr<AnimSet> set = animSet;
  if (!set || stepCount == 0) return 0;
  return set->getCollisionBox(getFrameIndex(), transform, out, boxIndex);
}

int32_t AnimPlayer::getStepInfo() { return stepCount == 0 ? 0 : stepByte(displayStep); }

}  // namespace tq
