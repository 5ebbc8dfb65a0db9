#include "ui_Addon.h"

#include "main_Main.h"
#include "scene_SceneManager.h"
#include "ui_ResManager.h"

VM_REGISTER_CLASS(ui::Addon, "ui.Addon", "ui.MyObject", VM_INSTANTIABLE);

namespace ui {

using main::Main;
using tq::Frame;

VMPtr<Addon> Addon::_VM_init() {
  Base::_VM_init();
  boxWidth = Main::kGameWidth;
  boxHeight = Main::kGameHeight;
  touchedRow = -1;
  userFlag = 1;
  VMPtr<Ints> scratch = Ints::create(5);
  frameBox = scratch;
  VMPtr<Pointer> touch = Pointer::_VM_new();
  touch->_VM_init();
  pointer = touch;
  return VMPtr<Addon>(this);
}

// --- Cached sets and regions ------------------------------------------------

VMPtr<Addon::Ints> Addon::boxOf(const VMPtr<Frame>& f, int32_t kind) {
  VMPtr<Ints> r = Ints::create(5);
  if (f) f->getBoxes(0, r, kind);
  return r;
}

VMPtr<Frame> Addon::cachedFrame(int32_t slot, int32_t index) {
  ResManager::_VM_clinitCheck();
  return VMPtr<VMArray<tq::AnimSet>>(ResManager::animSets)->get(slot)->getFrame(index);
}

VMPtr<java::lang::String> Addon::textOf(int32_t id) {
  Main::_VM_clinitCheck();
  return VMPtr<tq::util::text::Translation>(Main::translation)->getString(id);
}

VMPtr<Addon::Ints> Addon::arrowBox(int32_t kind) {
  VMPtr<Frame> decor = decorFrame;
  VMPtr<Ints> r = boxOf(decor, kind);
  if (decor) {
    r->at(0) += boxX + boxWidth;
    r->at(1) += boxY + rowGap;
  }
  return r;
}

void Addon::dropResources(bool release) {
  VMPtr<Pointer> touch = pointer;
  touch->removeUpRegion(getUpArrowBox());
  touch->removeDownRegion(getDownArrowBox());
  touch->removeLeftRegion(getLeftArrowBox());
  touch->removeRightRegion(getRightArrowBox());
  if (frame) {
    frame = nullptr;
    if (release) ResManager::release(frameGobIndex, frameAnimSetIndex);
    frameGobIndex = frameAnimSetIndex = -1;
  }
  if (decorFrame) {
    decorFrame = nullptr;
    if (release) ResManager::release(decorGobIndex, decorAnimSetIndex);
    decorGobIndex = decorAnimSetIndex = -1;
  }
  if (!release) frameGobIndex = frameAnimSetIndex = decorGobIndex = decorAnimSetIndex = -1;
}

VMPtr<tq::AnimPlayer> Addon::acquireDecoration(int32_t animation, int32_t frameIndex) {
  if (decorResourceId == kDecorGobs) return VMPtr<tq::AnimPlayer>();
  decorResourceId = kDecorGobs;
  ResManager::acquire(kDecorGobs, kDecorAnimSet);
  decorGobIndex = ResManager::getGobIndex();
  decorAnimSetIndex = ResManager::getAnimSetIndex();
  VMPtr<tq::AnimPlayer> press = tq::AnimPlayer::_VM_new();
  press->_VM_init();
  press->setAnimSet(VMPtr<VMArray<tq::AnimSet>>(ResManager::animSets)->get(decorAnimSetIndex));
  press->setAnimation(animation);
  decorFrame = cachedFrame(decorAnimSetIndex, frameIndex);
  return press;
}

void Addon::takeDecorCellSize() {
  VMPtr<Frame> decor = decorFrame;
  if (decor) setCellSize(decor->getWidth(0), decor->getHeight(0));
}

void Addon::advance(const VMPtr<tq::AnimPlayer>& press) {
  if (!press) return;
  scene::SceneManager::_VM_clinitCheck();
  VMPtr<Scene> current = scene::SceneManager::currentScene;
  if (current) press->update(current->lastDelta);
}

void Addon::paintPress(VMPtr<Graphics> g, const VMPtr<tq::AnimPlayer>& press, int32_t row, int32_t x, int32_t y) {
  Pointer::_VM_clinitCheck();
  if (!press || row != selectedRow || !Pointer::down->at(0)) return;
  press->setX(x);
  press->setY(y);
  press->paint(g);
}

void Addon::dispose() { dropResources(true); }

void Addon::clear() { dropResources(false); }

void Addon::setDecorPart(VMPtr<tq::Gob> g, int32_t index) {
  ResManager::_VM_clinitCheck();
  VMPtr<VMArray<tq::Gob, 2>>(ResManager::gobSets)->get(decorGobIndex)->set(index, g);
}

// --- Frame ---------------------------------------------------------------

void Addon::takeTextArea(int32_t x, int32_t y) {
  VMPtr<Ints> r = frameBox;
  textX = r->at(0) + x;
  textY = r->at(1) + y;
  textWidth = r->at(2);
  textHeight = r->at(3);
  setBounds(textX, textY, textWidth, textHeight);
}

void Addon::setFrame(int32_t frameIndex, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (!frame) {
    frameGobIndex = ResManager::getGobIndex();
    frameAnimSetIndex = ResManager::getAnimSetIndex();
  }
  VMPtr<Frame> f = cachedFrame(frameAnimSetIndex, frameIndex);
  frame = f;
  f->getBoxes(0, VMPtr<Ints>(frameBox), 0);
  frameWidth = w;
  frameHeight = h;
  frameX = x + (w - f->getWidth(0)) / 2;
  frameY = y + (h - f->getHeight(0)) / 2;
  framed = 1;
  takeTextArea(frameX, frameY);
}

void Addon::setCentredFrame(int32_t frameIndex) {
  if (!frame) {
    ResManager::acquire(kFrameGobs, kFrameAnimSet);
    frameGobIndex = ResManager::getGobIndex();
    frameAnimSetIndex = ResManager::getAnimSetIndex();
  }
  VMPtr<Frame> f = cachedFrame(frameAnimSetIndex, frameIndex);
  frame = f;
  f->getBoxes(0, VMPtr<Ints>(frameBox), 1);
  frameWidth = f->getWidth(0);
  frameHeight = f->getHeight(0);
  frameX = kCentreX;
  frameY = kCentreY;
  framed = 1;
  takeTextArea(kCentreX, kCentreY);
  if (itemCapacity == 1 || itemCapacity == 2) {
    f->getBoxes(0, VMPtr<Ints>(frameBox), 0);
    placeItem(0);
  }
  if (itemCapacity == 2) {
    f->getBoxes(0, VMPtr<Ints>(frameBox), 1);
    placeItem(1);
  }
}

// Position and cell of item `index` from the box in `frameBox`.
void Addon::placeItem(int32_t index) {
  VMPtr<Ints> r = frameBox;
  VMPtr<Ints> position = VMPtr<Rects>(itemPositions)->get(index);
  position->at(0) = r->at(0) + frameX;
  position->at(1) = r->at(1) + frameY;
  VMPtr<Ints>(itemWidths)->at(index) = r->at(2);
  VMPtr<Ints>(itemHeights)->at(index) = r->at(3);
}

// --- Items ---------------------------------------------------------------

void Addon::setItemCapacity(int32_t n) {
  VMPtr<Rects> positions = Rects::createMulti(2, n, 2);
  VMPtr<VMArray<String>> texts = VMArray<String>::create(n);
  VMPtr<Ints> widths = Ints::create(n);
  VMPtr<Ints> heights = Ints::create(n);
  VMPtr<Ints> fonts = Ints::create(n);
  itemCapacity = n;
  itemPositions = positions;
  itemTexts = texts;
  itemWidths = widths;
  itemHeights = heights;
  itemFonts = fonts;
  itemCount = 0;
}

void Addon::addItem(VMPtr<String> s, int32_t x, int32_t y) {
  if (itemCount >= itemCapacity) return;
  VMPtr<VMArray<String>>(itemTexts)->set(itemCount, s);
  VMPtr<Ints> position = VMPtr<Rects>(itemPositions)->get(itemCount);
  position->at(0) = x;
  position->at(1) = y;
  ++itemCount;
}

void Addon::addItem(int32_t textId, int32_t x, int32_t y) { addItem(textOf(textId), x, y); }

void Addon::addItem(VMPtr<String> s, int32_t x, int32_t y, int32_t width) {
  if (itemCount >= itemCapacity) return;
  VMPtr<Ints>(itemWidths)->at(itemCount) = width;
  addItem(s, x, y);
}

void Addon::addItem(int32_t textId, int32_t x, int32_t y, int32_t width) { addItem(textOf(textId), x, y, width); }

void Addon::addItem(VMPtr<String> s, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (itemCount >= itemCapacity) return;
  VMPtr<Ints>(itemHeights)->at(itemCount) = height;
  addItem(s, x, y, width);
}

void Addon::addItem(int32_t textId, int32_t x, int32_t y, int32_t width, int32_t height) {
  addItem(textOf(textId), x, y, width, height);
}

void Addon::setItemText(int32_t index, VMPtr<String> s) {
  if (hasItem(index)) VMPtr<VMArray<String>>(itemTexts)->set(index, s);
}

void Addon::setItem(int32_t index, VMPtr<String> s, int32_t x, int32_t y) {
  setItemText(index, s);
  if (!hasItem(index)) return;
  VMPtr<Ints> position = VMPtr<Rects>(itemPositions)->get(index);
  position->at(0) = x;
  position->at(1) = y;
  VMPtr<Ints>(itemWidths)->at(index) = 0;
}

void Addon::setItem(int32_t index, VMPtr<String> s, int32_t x, int32_t y, int32_t width) {
  setItem(index, s, x, y);
  if (hasItem(index)) VMPtr<Ints>(itemWidths)->at(index) = width;
}

void Addon::setItem(int32_t index, VMPtr<String> s, int32_t x, int32_t y, int32_t width, int32_t height) {
  setItem(index, s, x, y, width);
  if (hasItem(index)) VMPtr<Ints>(itemHeights)->at(index) = height;
}

void Addon::setItemFont(int32_t index, int32_t font) {
  if (hasItem(index)) VMPtr<Ints>(itemFonts)->at(index) = font;
}

void Addon::setItemCount(int32_t n) {
  if (n >= 0 && n <= itemCapacity) itemCount = n;
}

// --- Geometry ------------------------------------------------------------

void Addon::setBounds(int32_t x, int32_t y, int32_t w, int32_t h) {
  boxX = x;
  boxY = y;
  boxWidth = w;
  boxHeight = h;
}

void Addon::setCellSize(int32_t w, int32_t h) {
  cellWidth = w;
  cellHeight = h;
}

VMPtr<Addon::Ints> Addon::getTextRect() {
  VMPtr<Ints> r = Ints::create(5);
  r->at(0) = textX;
  r->at(1) = textY;
  r->at(2) = textWidth;
  r->at(3) = textHeight;
  return r;
}

VMPtr<Addon::Rects> Addon::getItemRects() {
  const int32_t rows = idCount < visibleRows ? idCount : visibleRows;
  VMPtr<Rects> out = Rects::createMulti(1, rows);
  VMPtr<Frame> decor = decorFrame;
  for (int32_t i = 0; i < rows; ++i) {
    VMPtr<Ints> r = boxOf(decor, 5);
    if (decor) {
      r->at(0) += boxX + cellOffsetX;
      r->at(1) += boxY + rowGap + i * (rowGap + cellHeight);
    }
    out->set(i, r);
  }
  return out;
}

void Addon::_VM_markReferences(int colour) {
  _VM_mark(pointer, colour);
  _VM_mark(decorFrame, colour);
  _VM_mark(ids, colour);
  _VM_mark(frame, colour);
  _VM_mark(text, colour);
  _VM_mark(itemFonts, colour);
  _VM_mark(itemHeights, colour);
  _VM_mark(itemPositions, colour);
  _VM_mark(itemTexts, colour);
  _VM_mark(itemWidths, colour);
  _VM_mark(frameBox, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace ui
