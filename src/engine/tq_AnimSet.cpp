// The queries of an animation set over its packed tables, its frame caches
// and its frame drawing.
#include "tq_AnimSet.h"

#include <algorithm>
#include <limits>

#include "VMJava.h"
#include "java_lang_Throwable.h"
#include "tq_AnimPlayer.h"

VM_REGISTER_CLASS(tq::AnimSet, "tq.AnimSet", "java.lang.Object", VM_HAS_CLINIT);

namespace tq {

using graphics::CollisionBox;

VMStatic<AnimSet::Stream> AnimSet::stream;
VMStatic<AnimSet::Ints> AnimSet::scratch;

namespace {

int32_t signedField(int32_t word, int shift, int bits) {
  return _VM_signExtend(static_cast<uint32_t>(word) >> shift & ((1u << bits) - 1), bits);
}
int32_t upperIndex(int32_t word, int shift) { return static_cast<int32_t>(static_cast<uint32_t>(word) >> shift); }
int32_t negatedIf(bool negate, int32_t v) { return negate ? -v : v; }

// Running extremes of placed rectangles; no rectangle at all gives
// {MAX, MAX, 0, 0}.
class Extent {
 public:
  void add(int32_t x, int32_t y, int32_t w, int32_t h) {
    minX_ = std::min(minX_, x);
    minY_ = std::min(minY_, y);
    maxX_ = std::max(maxX_, x + w);
    maxY_ = std::max(maxY_, y + h);
    empty_ = false;
  }
  void write(VMPtr<AnimSet::Ints> out) const {
    out->at(0) = minX_;
    out->at(1) = minY_;
    out->at(2) = empty_ ? 0 : maxX_ - minX_;
    out->at(3) = empty_ ? 0 : maxY_ - minY_;
  }

 private:
  int32_t minX_ = std::numeric_limits<int32_t>::max();
  int32_t minY_ = std::numeric_limits<int32_t>::max();
  int32_t maxX_ = std::numeric_limits<int32_t>::min();
  int32_t maxY_ = std::numeric_limits<int32_t>::min();
  bool empty_ = true;
};

}  // namespace

void AnimSet::_VM_clinit() { scratch = Ints::create(4); }

void AnimSet::_VM_markReferences(int colour) {
  _VM_mark(animations, colour);
  _VM_mark(durationCache, colour);
  _VM_mark(stepBytes, colour);
  _VM_mark(steps, colour);
  _VM_mark(frames, colour);
  _VM_mark(frameBoxStart, colour);
  _VM_mark(parts, colour);
  _VM_mark(boxes, colour);
  _VM_mark(boxExtras, colour);
  _VM_mark(durations, colour);
  _VM_mark(gobs, colour);
  _VM_mark(animationFrames, colour);
  _VM_mark(frameCache, colour);
  Base::_VM_markReferences(colour);
}

int32_t AnimSet::getFrameCount() { return _VM_length(VMPtr<Ints>(frames)); }

int32_t AnimSet::getAnimationCount() { return _VM_length(VMPtr<Ints>(animations)); }

int32_t AnimSet::getStepCount(int32_t anim) { return VMPtr<Ints>(animations)->at(anim) & 0x3FF; }

int32_t AnimSet::getPartCount(int32_t frame) { return VMPtr<Ints>(frames)->at(frame) & 0xFF; }

int32_t AnimSet::getBoxCount(int32_t frame) { return VMPtr<Ints>(frames)->at(frame) >> 8 & 0xFF; }

VMPtr<Frame> AnimSet::getFrame(int32_t frame) {
  if (!frameCache) frameCache = Frames::create(getFrameCount());
  VMPtr<Frames> cache = frameCache;
  VMPtr<Frame> cached = cache->get(frame);
  if (cached) return cached;
  VMPtr<Frame> made = Frame::_VM_new();  // made before the scratch is filled
  _VM_clinitCheck();
  VMPtr<Ints> bounds = scratch;
  getFrameBounds(frame, 0, bounds);
  made->_VM_init(VMPtr<AnimSet>(this), bounds, frame);
  cache->set(frame, made);
  return made;
}

VMPtr<Frame> AnimSet::getAnimationFrame(int32_t anim) {
  if (!animationFrames) animationFrames = Frames::create(getAnimationCount());
  VMPtr<Frames> cache = animationFrames;
  VMPtr<Frame> cached = cache->get(anim);
  if (cached) return cached;
  VMPtr<Frame> made = Frame::_VM_new();
  _VM_clinitCheck();
  VMPtr<Ints> bounds = scratch;
  getAnimationBounds(anim, 0, bounds);  // writes the scratch only at its end
  made->_VM_init(VMPtr<AnimSet>(this), bounds, -anim);
  cache->set(anim, made);
  return made;
}

int32_t AnimSet::getDuration(int32_t anim) {
  VMPtr<Ints> table = animations;
  if (anim < 0 || anim >= _VM_length(table)) return 0;
  VMPtr<Ints> cache = durationCache;
  if (cache->at(anim) == 0) {
    const int32_t entry = table->at(anim);
    const int32_t first = upperIndex(entry, 16);
    VMPtr<VMArray<int8_t>> bytes = stepBytes;
    VMPtr<Chars> lengths = durations;
    int32_t total = 0;
    for (int32_t k = 0; k < (entry & 0x3FF); ++k) total += lengths->at(bytes->at(first + k) & 0x3F);
    cache->at(anim) = total;
  }
  return cache->at(anim);
}

int32_t AnimSet::getBoxes(int32_t frame, int32_t transform, VMPtr<Ints> out) {
  return getBoxes(frame, transform, out, -1);
}

int32_t AnimSet::getBoxes(int32_t frame, int32_t transform, VMPtr<Boxes> out) {
  return getBoxes(frame, transform, out, -1);
}

int32_t AnimSet::getParts(int32_t frame, int32_t transform, VMPtr<Ints> out) {
  const int32_t entry = VMPtr<Ints>(frames)->at(frame);
  const int32_t count = entry & 0xFF;
  const int32_t first = upperIndex(entry, 16);
  VMPtr<Ints> table = parts;
  for (int32_t k = 0, n = 0; k < count && n + 4 <= out->length; ++k, n += 4) {
    const int32_t part = table->at(first + k);
    const int32_t t = (part & 3) ^ transform;
    out->at(n) = upperIndex(part, 22);
    out->at(n + 1) = negatedIf((t & 2) != 0, signedField(part, 12, 10));
    out->at(n + 2) = negatedIf((t & 1) != 0, signedField(part, 2, 10));
    out->at(n + 3) = t;
  }
  return count;
}

void AnimSet::getFrameBounds(int32_t frame, int32_t transform, VMPtr<Ints> out) {
  const int32_t entry = VMPtr<Ints>(frames)->at(frame);
  const int32_t first = upperIndex(entry, 16);
  VMPtr<Ints> table = parts;
  VMPtr<Gobs> sprites = gobs;
  Extent extent;
  for (int32_t k = 0; k < (entry & 0xFF); ++k) {
    const int32_t part = table->at(first + k);
    VMPtr<Gob> gob = sprites->get(upperIndex(part, 22));
    const int32_t t = (part & 3) ^ transform;
    int32_t px = gob->x + signedField(part, 12, 10);
    int32_t py = gob->y + signedField(part, 2, 10);
    if ((t & 2) != 0) px = -(gob->width + px);
    if ((t & 1) != 0) py = -(gob->height + py);
    extent.add(px, py, gob->width, gob->height);
  }
  extent.write(out);
}

void AnimSet::getAnimationBounds(int32_t anim, int32_t transform, VMPtr<Ints> out) {
  const int32_t entry = VMPtr<Ints>(animations)->at(anim);
  const int32_t first = upperIndex(entry, 16);
  Extent extent;
  for (int32_t k = 0; k < (entry & 0x3FF); ++k) {
    const int32_t step = VMPtr<Ints>(steps)->at(first + k);
    VMPtr<Frame> f = getFrame(upperIndex(step, 22));
    const int32_t dx = signedField(step, 12, 10), dy = signedField(step, 2, 10);
    const bool swap = (transform & 4) != 0;
    const int32_t mx = swap ? negatedIf((transform & 1) != 0, dy) : negatedIf((transform & 2) != 0, dx);
    const int32_t my = swap ? negatedIf((transform & 2) != 0, dx) : negatedIf((transform & 1) != 0, dy);
    extent.add(f->getOffsetX(transform) + mx, f->getOffsetY(transform) + my, f->getWidth(transform),
               f->getHeight(transform));
  }
  extent.write(out);
}

void AnimSet::decodeBox(int32_t box, int32_t transform, VMPtr<CollisionBox> out) {
  const int32_t word = VMPtr<Ints>(boxes)->at(box);
  const int32_t extra = VMPtr<Chars>(boxExtras)->at(box);
  const int32_t w = word & 0x3FF, h = extra >> 6;
  const int32_t x = word >> 21, y = signedField(word, 10, 11);
  if ((transform & 4) == 0) {
    out->set((transform & 2) != 0 ? -(w + x) : x, (transform & 1) != 0 ? -(h + y) : y, w, h);
  } else {
    out->set((transform & 1) != 0 ? -(h + y) : y, (transform & 2) != 0 ? -(x + w) : x, h, w);
  }
  out->type = extra & 0x1F;
  out->kind = (extra & 0x20) != 0 ? CollisionBox::kCircle : CollisionBox::kRectangle;
}

int32_t AnimSet::getBoxes(int32_t frame, int32_t transform, VMPtr<Boxes> out, int32_t type) {
  const int32_t count = getBoxCount(frame);
  const int32_t first = firstBox(frame);
  VMPtr<Chars> extras = boxExtras;
  int32_t n = 0;
  for (int32_t k = 0; k < count && n < out->length; ++k) {
    if (type >= 0 && (extras->at(first + k) & 0x1F) != type) continue;
    decodeBox(first + k, transform, out->get(n));
    ++n;
  }
  return n;
}

int32_t AnimSet::getBoxes(int32_t frame, int32_t transform, VMPtr<Ints> out, int32_t type) {
  const int32_t count = getBoxCount(frame);
  const int32_t first = firstBox(frame);
  VMPtr<Ints> words = boxes;
  VMPtr<Chars> extras = boxExtras;
  int32_t n = 0;
  for (int32_t k = 0; k < count && (n + 1) * 5 <= out->length; ++k) {
    const int32_t extra = extras->at(first + k);
    if (type >= 0 && (extra & 0x1F) != type) continue;
    const int32_t word = words->at(first + k);
    const int32_t w = word & 0x3FF, h = extra >> 6;
    const int32_t x = word >> 21, y = signedField(word, 10, 11);
    out->at(n * 5) = (transform & 2) != 0 ? -(w + x) : x;
    out->at(n * 5 + 1) = (transform & 1) != 0 ? -(h + y) : y;
    out->at(n * 5 + 2) = w;
    out->at(n * 5 + 3) = h;
    out->at(n * 5 + 4) = extra & 0x1F;
    ++n;
  }
  return n;
}

int32_t AnimSet::getCollisionBox(int32_t frame, int32_t transform, VMPtr<Boxes> out, int32_t boxIndex) {
  if (!out || out->length < 1 || boxIndex < 0 || boxIndex >= getBoxCount(frame)) return 0;
  decodeBox(firstBox(frame) + boxIndex, transform, out->get(0));
  return 1;
}

VMPtr<AnimSet> AnimSet::copy(VMPtr<Gobs> g) {
  VMPtr<AnimSet> c = _VM_new();
  c->_VM_init();
  c->animations = VMPtr<Ints>(animations);
  c->durationCache = VMPtr<Ints>(durationCache);
  c->stepBytes = VMPtr<VMArray<int8_t>>(stepBytes);
  c->steps = VMPtr<Ints>(steps);
  c->frames = VMPtr<Ints>(frames);
  c->frameBoxStart = VMPtr<Chars>(frameBoxStart);
  c->parts = VMPtr<Ints>(parts);
  c->boxes = VMPtr<Ints>(boxes);
  c->boxExtras = VMPtr<Chars>(boxExtras);
  c->durations = VMPtr<Chars>(durations);
  c->id = id;
  c->gobs = g;
  return c;
}

void AnimSet::paintFrame(VMPtr<Graphics> g, int32_t frame, int32_t x, int32_t y, int32_t transform) {
  const int32_t entry = VMPtr<Ints>(frames)->at(frame);
  const int32_t first = upperIndex(entry, 16);
  VMPtr<Ints> table = parts;
  VMPtr<Gobs> sprites = gobs;
  for (int32_t k = 0; k < (entry & 0xFF); ++k) {
    const int32_t part = table->at(first + k);
    VMPtr<Gob> gob = sprites->get(upperIndex(part, 22));
    const int16_t dx = static_cast<int16_t>(signedField(part, 12, 10));
    const int16_t dy = static_cast<int16_t>(signedField(part, 2, 10));
    gob->x = static_cast<int16_t>(gob->x + dx);
    gob->y = static_cast<int16_t>(gob->y + dy);
    try {
      gob->paint(g, x, y, (part & 3) ^ transform);
    } catch (java::lang::Throwable* thrown) {
      gob->x = static_cast<int16_t>(gob->x - dx);
      gob->y = static_cast<int16_t>(gob->y - dy);
      thrown->_VM_throw();
    }
    gob->x = static_cast<int16_t>(gob->x - dx);
    gob->y = static_cast<int16_t>(gob->y - dy);
  }
}

VMPtr<AnimPlayer> AnimSet::createPlayer(int32_t anim) {
  VMPtr<AnimPlayer> player = AnimPlayer::_VM_new();
  player->_VM_init();
  player->setAnimSet(VMPtr<AnimSet>(this));
  player->setAnimation(anim);
  return player;
}

}  // namespace tq
