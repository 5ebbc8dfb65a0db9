#include "tq_graphics_CollisionBox.h"

#include <algorithm>
#include <cstdlib>

#include "java_lang_StringBuffer.h"
#include "java_lang_Throwable.h"

VM_REGISTER_CLASS(tq::graphics::CollisionBox, "tq.graphics.CollisionBox", "tq.Paintable",
                  VM_INSTANTIABLE | VM_HAS_CLINIT);

namespace tq::graphics {

VMStatic<CollisionBox> CollisionBox::lastHitBox;
VMStatic<CollisionBox> CollisionBox::lastHitOther;
VMStatic<CollisionBox> CollisionBox::sharedPoint;

namespace {

int64_t square(int64_t v) { return v * v; }

}  // namespace

void CollisionBox::_VM_clinit() { sharedPoint = make(); }

VMPtr<CollisionBox> CollisionBox::_VM_init() { return _VM_init(kRectangle); }

VMPtr<CollisionBox> CollisionBox::_VM_init(int32_t k) {
  Base::_VM_init();
  kind = k;
  return VMPtr<CollisionBox>(this);
}

VMPtr<CollisionBox> CollisionBox::make(int32_t kind) {
  VMPtr<CollisionBox> box = _VM_new();
  return box->_VM_init(kind);
}

void CollisionBox::paint(VMPtr<Graphics> g, int32_t px, int32_t py, int32_t t) {
  move(px, py);
  try {
    paint(g);
  } catch (java::lang::Throwable* thrown) {
    move(-px, -py);
    thrown->_VM_throw();
  }
  move(-px, -py);
}

void CollisionBox::paint(VMPtr<Graphics> g) {
  if (isEmpty()) return;
  const int32_t saved = g->getARGBColor();
  if (useColor) g->setARGBColor(color);
  if (kind == kCircle) {
    if (filled) {
      g->fillArc(x, y, width - 1, height - 1, 0, 360);
    } else {
      g->drawArc(x, y, width - 1, height - 1, 0, 360);
    }
  } else if (filled) {
    g->fillRect(x, y, width, height);
  } else {
    g->drawRect(x, y, width - 1, height - 1);
  }
  if (useColor) g->setARGBColor(saved);
}

int32_t CollisionBox::getBoxes(int32_t t, VMPtr<Boxes> out, int32_t wanted) {
  if (isEmpty() || (wanted >= 0 && wanted != type)) return 0;
  if (out->length > 0) copyGeometryTo(out->get(0));
  return 1;
}

void CollisionBox::setSize(int32_t w, int32_t h) {
  width = w;
  height = h;
}

void CollisionBox::intersection(VMPtr<CollisionBox> a, VMPtr<CollisionBox> b) {
  const int32_t left = std::max(a->x, b->x);
  const int32_t top = std::max(a->y, b->y);
  const int32_t right = std::min(a->x + a->width, b->x + b->width);
  const int32_t bottom = std::min(a->y + a->height, b->y + b->height);
  set(left, top, right - left, bottom - top);
  kind = kRectangle;
}

void CollisionBox::union_(VMPtr<CollisionBox> a, VMPtr<CollisionBox> b) {
  const int32_t left = std::min(a->x, b->x);
  const int32_t top = std::min(a->y, b->y);
  const int32_t right = std::max(a->x + a->width, b->x + b->width);
  const int32_t bottom = std::max(a->y + a->height, b->y + b->height);
  set(left, top, right - left, bottom - top);
  kind = kRectangle;
}

void CollisionBox::move(int32_t dx, int32_t dy) {
  x += dx;
  y += dy;
}

bool CollisionBox::rectanglesMeet(int32_t bx, int32_t by, int32_t bw, int32_t bh) const {
  return Paintable::intersects(x, y, width, height, bx, by, bw, bh);
}

uint8_t CollisionBox::intersects(int32_t bx, int32_t by, int32_t bw, int32_t bh) {
  if (isRectangle()) return rectanglesMeet(bx, by, bw, bh);
  const int32_t r = width >> 1;
  return circleIntersectsRect(x + r, y + r, r, pointBox(bx, by, bw, bh));
}

uint8_t CollisionBox::intersects(VMPtr<CollisionBox> b) {
  const int32_t r1 = width >> 1;
  const int32_t r2 = b->width >> 1;
  if (isRectangle()) {
    if (b->isRectangle()) return rectanglesMeet(b->x, b->y, b->width, b->height);
    return circleIntersectsRect(b->x + r2, b->y + r2, r2, VMPtr<CollisionBox>(this));
  }
  if (b->isRectangle()) return circleIntersectsRect(x + r1, y + r1, r1, b);
  const int64_t dx = (int64_t{x} + r1) - (int64_t{b->x} + r2);
  const int64_t dy = (int64_t{y} + r1) - (int64_t{b->y} + r2);
  return square(dx) + square(dy) <= square(int64_t{r1} + r2);
}

uint8_t CollisionBox::circleIntersectsRect(int32_t cx, int32_t cy, int32_t r, VMPtr<CollisionBox> rect) {
  const int64_t hw = rect->width >> 1;
  const int64_t hh = rect->height >> 1;
  const int64_t dx = std::llabs(int64_t{cx} - rect->x - hw);
  const int64_t dy = std::llabs(int64_t{cy} - hh - rect->y);
  if (dx > hw + r || dy > hh + r) return 0;
  if (dx <= hw || dy <= hh) return 1;
  return square(dx - hw) + square(dy - hh) <= square(r);
}

void CollisionBox::set(VMPtr<CollisionBox> b) { set(b->x, b->y, b->width, b->height); }

void CollisionBox::set(int32_t nx, int32_t ny, int32_t w, int32_t h) {
  x = nx;
  y = ny;
  width = w;
  height = h;
}

void CollisionBox::setPosition(int32_t nx, int32_t ny) {
  x = nx;
  y = ny;
}

void CollisionBox::copyGeometryTo(VMPtr<CollisionBox> out) {
  out->set(x, y, width, height);
  out->type = type;
  out->kind = kind;
}

uint8_t CollisionBox::intersects(VMPtr<CollisionBox> b, int32_t px, int32_t py, int32_t t) {
  const int32_t fx = px + getOffsetX(t);
  const int32_t fy = py + getOffsetY(t);
  return fx < b->x + b->width && fy < b->y + b->height && b->x < fx + getWidth(t) && b->y < fy + getHeight(t);
}

uint8_t CollisionBox::intersects(VMPtr<CollisionBox> b, int32_t px, int32_t py) { return intersects(b, px, py, 0); }

uint8_t CollisionBox::contains(int32_t bx, int32_t by, int32_t w, int32_t h) {
  return bx >= x && by >= y && bx + w <= x + width && by + h <= y + height && w > 0 && h > 0 && !isEmpty();
}

uint8_t CollisionBox::contains(int32_t px, int32_t py) {
  if (isRectangle()) return width >= 1 && height >= 1 && x <= px && px < x + width && y <= py && py < y + height;
  const int64_t r = width >> 1;
  return square(int64_t{px} - x - r) + square(int64_t{py} - y - r) < square(r);
}

uint8_t CollisionBox::contains(VMPtr<CollisionBox> b) {
  return b->x >= x && b->y >= y && b->x + b->width <= x + width && b->y + b->height <= y + height && b->width > 0 &&
         b->height > 0 && width > 0 && height > 0;
}

void CollisionBox::copyTo(VMPtr<CollisionBox> out) {
  out->height = height;
  out->color = color;
  out->width = width;
  out->type = type;
  out->kind = kind;
  out->useColor = useColor;
  out->y = y;
  out->filled = filled;
  out->x = x;
}

VMPtr<java::lang::String> CollisionBox::toString() {
  VMPtr<java::lang::StringBuffer> b = java::lang::StringBuffer::_VM_new();
  b->_VM_init();
  b->append("x,y:")->append(x)->append(u',')->append(y);
  b->append(", WxH:")->append(width)->append(u',')->append(height);
  return b->toString();
}

VMPtr<Paintable::Boxes> CollisionBox::ensureCapacity(VMPtr<Boxes> boxes, int32_t n) {
  if (boxes && boxes->length >= n) return boxes;
  VMPtr<Boxes> made = Boxes::create(n);
  for (int32_t i = 0; i < n; ++i) made->set(i, make());
  return made;
}

uint8_t CollisionBox::collides(int32_t na, VMPtr<Boxes> a, int32_t nb, VMPtr<Boxes> b) {
  for (int32_t i = 0; i < na; ++i) {
    VMPtr<CollisionBox> own = a->get(i);
    for (int32_t j = 0; j < nb; ++j) {
      VMPtr<CollisionBox> other = b->get(j);
      if (own->intersects(other)) {
        setHits(own, other);
        return 1;
      }
    }
  }
  clearHits();
  return 0;
}

void CollisionBox::clearHits() { setHits(nullptr, nullptr); }

void CollisionBox::setHits(VMPtr<CollisionBox> own, VMPtr<CollisionBox> other) {
  _VM_clinitCheck();
  lastHitBox = own;
  lastHitOther = other;
}

VMPtr<CollisionBox> CollisionBox::pointBox(int32_t px, int32_t py, int32_t w, int32_t h) {
  _VM_clinitCheck();
  VMPtr<CollisionBox> box = sharedPoint;
  box->set(px, py, w, h);
  box->kind = kRectangle;
  box->type = -1;
  return box;
}

}  // namespace tq::graphics
