#include "tq_Gob.h"

#include <algorithm>

#include "VMThrow.h"
#include "java_io_PrintStream.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_System.h"
#include "java_lang_Throwable.h"
#include "tq_GobAlphaImage.h"
#include "tq_Resources.h"
#include "tq_TqCanvas.h"

VM_REGISTER_CLASS(tq::Gob, "tq.Gob", "tq.Paintable", VM_INSTANTIABLE);

namespace tq {

VMStatic<VMArray<int32_t, 2>> Gob::pixelTable;
int32_t Gob::pixelCount;
VMStatic<graphics::CollisionBox> Gob::drawBox;

VMPtr<Gob> Gob::_VM_init() {
  Base::_VM_init();
  return VMPtr<Gob>(this);
}

void Gob::_VM_markReferences(int colour) {
  _VM_mark(image, colour);
  Base::_VM_markReferences(colour);
}

void Gob::drawImage(VMPtr<Graphics> g, int32_t px, int32_t py, int32_t t) {
  g->drawRegion(VMPtr<Image>(image), 0, 0, width, height, t | (drawMode << 8), px + getOffsetX(t),
                py + getOffsetY(t), Graphics::TOP | Graphics::LEFT);
}

void Gob::paint(VMPtr<Graphics> g, int32_t px, int32_t py, int32_t t) {
  if (!isEmptyImage()) drawImage(g, px, py, t);
}

int32_t Gob::boxLeft(int32_t px, int32_t t) const {
  return px + ((t & 2) != 0 ? -(boxX + x + boxWidth) : boxX + x);
}

int32_t Gob::boxTop(int32_t py, int32_t t) const {
  return py + ((t & 1) != 0 ? -(boxY + y + boxHeight) : boxY + y);
}

int32_t Gob::getBoxes(int32_t t, VMPtr<Boxes> out, int32_t type) {
  if (!hasBox()) return 0;
  if (out->length > 0) writeBox(out->get(0), 0, 0, t);
  return 1;
}

int32_t Gob::getBoxes(int32_t t, VMPtr<Ints> out, int32_t type) {
  if (!hasBox()) return 0;
  if (out->length > 4) {
    out->at(0) = boxLeft(0, t);
    out->at(1) = boxTop(0, t);
    out->at(2) = boxWidth;
    out->at(3) = boxHeight;
    out->at(4) = -1;
  }
  return 1;
}

void Gob::paintScaled(VMPtr<Graphics> g, int32_t px, int32_t py, int32_t w, int32_t h, int32_t t) {
  java::lang::System::_VM_clinitCheck();
  VMPtr<java::io::PrintStream> out = java::lang::System::out;
  out->println("<UPCOMING FEATURE COMING SOON> This is not yet implemented");
}

uint8_t Gob::intersects(int32_t px, int32_t py, int32_t t, int32_t rx, int32_t ry, int32_t rw, int32_t rh) {
  return Paintable::intersects(boxLeft(px, t), boxTop(py, t), boxWidth, boxHeight, rx, ry, rw, rh);
}

uint8_t Gob::collidesWith(int32_t px, int32_t py, int32_t t, VMPtr<Gob> other, int32_t ox, int32_t oy,
                          int32_t ot) {
  return collidesWith(px, py, t, other, ox, oy, ot, 0, 0, 0, 0);
}

uint8_t Gob::collidesWith(int32_t px, int32_t py, int32_t t, VMPtr<Gob> other, int32_t ox, int32_t oy, int32_t ot,
                          int32_t dx, int32_t dy, int32_t dw, int32_t dh) {
  return intersects(px, py, t, other->boxLeft(ox, ot) + dx, other->boxTop(oy, ot) + dy, other->boxWidth + dw,
                    other->boxHeight + dh);
}

VMPtr<Gob> Gob::toAlphaImage(int32_t alpha) {
  VMPtr<Gob> converted = toGob();
  converted->setAlpha(alpha);
  return converted;
}

VMPtr<Gob> Gob::toGob() {
  VMPtr<GobAlphaImage> made = GobAlphaImage::_VM_new();
  return made->_VM_init(VMPtr<Gob>(this));
}

void Gob::paintBox(VMPtr<Graphics> g, int32_t px, int32_t py, int32_t t) {
  _VM_clinitCheck();
  if (!drawBox) drawBox = CollisionBox::make();
  VMPtr<CollisionBox> box = drawBox;
  if (writeBox(box, px, py, t)) box->paint(g);
}

void Gob::paintClipped(VMPtr<Graphics> g, int32_t px, int32_t py, int32_t t, int32_t left, int32_t top,
                       int32_t right, int32_t bottom) {
  if (left == 0 && top == 0 && right == 0 && bottom == 0) {
    paint(g, px, py, t);
    return;
  }
  const int32_t cx = g->getClipX(), cy = g->getClipY(), cw = g->getClipWidth(), ch = g->getClipHeight();
  g->clipRect(px + getOffsetX(t) + ((t & 2) != 0 ? right : left), py + getOffsetY(t) + ((t & 1) != 0 ? bottom : top),
              width - left - right, height - top - bottom);
  try {
    paint(g, px, py, t);
  } catch (java::lang::Throwable* thrown) {
    g->setClip(cx, cy, cw, ch);
    thrown->_VM_throw();
  }
  g->setClip(cx, cy, cw, ch);
}

uint8_t Gob::writeBox(VMPtr<CollisionBox> out, int32_t px, int32_t py, int32_t t) {
  if ((t & 4) == 0) {
    out->x = (t & 2) != 0 ? -(boxX + boxWidth + x) : boxX + x;
    out->y = (t & 1) != 0 ? -(boxY + y + boxHeight) : boxY + y;
    out->setSize(boxWidth, boxHeight);
  } else {
    out->x = (t & 1) != 0 ? -(boxHeight + boxY + y) : boxY + y;
    out->y = (t & 2) != 0 ? -(boxX + x + boxWidth) : x + boxX;
    out->setSize(boxHeight, boxWidth);
  }
  out->type = -1;
  out->kind = circle != 0 ? CollisionBox::kCircle : CollisionBox::kRectangle;
  out->move(px, py);
  return hasBox();
}

uint8_t Gob::intersects(VMPtr<Rect> r, int32_t px, int32_t py) {
  const int32_t fx = px + x, fy = py + y;
  return fx < r->x + r->width && fy < r->y + r->height && r->x < fx + width && r->y < fy + height;
}

void Gob::setImageOf(VMPtr<Gob> other) { other->image = VMPtr<Image>(image); }

void Gob::copyTo(VMPtr<Gob> other) {
  other->drawMode = drawMode;
  other->x = x;
  other->y = y;
  other->width = width;
  other->height = height;
  other->boxX = boxX;
  other->boxY = boxY;
  other->boxWidth = boxWidth;
  other->boxHeight = boxHeight;
  other->circle = circle;
}

void Gob::load(VMPtr<VMArray<int16_t>> rec) {
  x = rec->at(0);
  y = rec->at(1);
  const int32_t sx = rec->at(2), sy = rec->at(3);
  width = rec->at(4);
  height = rec->at(5);
  boxX = rec->at(6);
  boxY = rec->at(7);
  circle = (rec->at(8) & 0x8000) != 0;
  boxWidth = static_cast<int16_t>(rec->at(8) & 0x7FFF);
  boxHeight = rec->at(9);
  _VM_clinitCheck();
  VMPtr<VMArray<int32_t>> row;
  if (!isEmptyImage()) {
    VMPtr<Image> sheet = image;
    // The region must lie in the sheet (as getRGB demands) before its
    // pixels are allocated.
    if (!sheet) _VM_throwNullPointerException();
    if (sx < 0 || sy < 0 || sx + width > sheet->getWidth() || sy + height > sheet->getHeight()) {
      _VM_throwNew<java::lang::IllegalArgumentException>("sprite region outside its sheet");
    }
    row = VMArray<int32_t>::create(width * height);
    sheet->getRGB(row, 0, width, sx, sy, width, height);
  }
  VMPtr<VMArray<int32_t, 2>> table = pixelTable;
  table->set(pixelCount, row);
  ++pixelCount;
}

void Gob::loadImage(VMPtr<Gobs> gobs, int32_t id, VMPtr<VMArray<int8_t>> palette, VMPtr<Stream> imageIn) {
  VMPtr<Image> sheet = Resources::getImage(id, palette);
  for (int32_t i = 0; i < _VM_length(gobs); ++i) gobs->get(i)->image = sheet;
}

void Gob::resetPixelTable(VMPtr<Gobs> gobs) {
  _VM_clinitCheck();
  pixelTable = VMArray<int32_t, 2>::createMulti(1, _VM_length(gobs));
  pixelCount = 0;
}

void Gob::dropPixelTable() {
  _VM_clinitCheck();
  pixelTable = nullptr;
  pixelCount = 0;
}

void Gob::createImages(VMPtr<Gobs> gobs) {
  _VM_clinitCheck();
  const int32_t n = _VM_length(gobs);
  for (int32_t i = 0; i < n; ++i) gobs->get(i)->image = nullptr;
  VMPtr<VMArray<int32_t, 2>> table = pixelTable;
  for (int32_t i = 0; i < n; ++i) {
    VMPtr<Gob> gob = gobs->get(i);
    VMPtr<VMArray<int32_t>> row = table->get(i);
    if (row && !gob->isEmptyImage()) {
      gob->image = TqCanvas::createRGBImage(row, gob->width, gob->height, TqCanvas::hasTransparency(row));
    }
    table->set(i, nullptr);
  }
  dropPixelTable();
}

void Gob::convertAll(VMPtr<Gobs> gobs) {
  const int32_t n = _VM_length(gobs);
  if (n == 0 || gobs->get(0)->isAlphaImage() != 0) return;
  for (int32_t i = 0; i < n; ++i) gobs->set(i, gobs->get(i)->toGob());
}

VMPtr<Gob> Gob::create(VMPtr<VMArray<int32_t>> argb, int32_t w, int32_t h, uint8_t alpha) {
  VMPtr<Gob> gob = _VM_new();
  gob->_VM_init();
  gob->drawMode = static_cast<int8_t>(alpha ? TqCanvas::classifyAlpha(argb, 0, _VM_length(argb), 0, 0,
                                                                     argb->length, 1)
                                            : 1);
  gob->image = TqCanvas::createRGBImage(argb, w, h, alpha);
  gob->width = gob->boxWidth = static_cast<int16_t>(w);
  gob->height = gob->boxHeight = static_cast<int16_t>(h);
  return gob;
}

uint8_t Gob::collides(int32_t na, VMPtr<Ints> a, int32_t nb, VMPtr<Ints> b, VMPtr<Ints> out) {
  uint8_t hit = 0;
  for (int32_t i = 0; i < na; ++i) {
    const int32_t ax = a->at(i * 5), ay = a->at(i * 5 + 1), aw = a->at(i * 5 + 2), ah = a->at(i * 5 + 3);
    for (int32_t j = 0; j < nb; ++j) {
      const int32_t bx = b->at(j * 5), by = b->at(j * 5 + 1), bw = b->at(j * 5 + 2), bh = b->at(j * 5 + 3);
      if (!Paintable::intersects(ax, ay, aw, ah, bx, by, bw, bh)) continue;
      hit = 1;
      if (!out) continue;
      out->at(0) = std::max(ax, bx);
      out->at(1) = std::max(ay, by);
      out->at(2) = std::min(ax + aw, bx + bw) - out->at(0);
      out->at(3) = std::min(ay + ah, by + bh) - out->at(1);
      out->at(4) = a->at(i * 5 + 4);
      out->at(5) = b->at(j * 5 + 4);
      return 1;
    }
  }
  return hit;
}

}  // namespace tq
