#include "ui_MsgBoard.h"

#include "main_Main.h"

VM_REGISTER_CLASS(ui::MsgBoard, "ui.MsgBoard", "ui.Addon", VM_INSTANTIABLE);

namespace ui {

using main::Main;
using tq::AnimPlayer;

VMPtr<MsgBoard> MsgBoard::_VM_init() {
  Base::_VM_init();
  return VMPtr<MsgBoard>(this);
}

void MsgBoard::tick() { advance(VMPtr<AnimPlayer>(pressAnim)); }

void MsgBoard::acquireDecor() {
  VMPtr<AnimPlayer> press = acquireDecoration(kPressAnimation, kButtonFrame);
  if (press) pressAnim = press;
  takeDecorCellSize();
}

void MsgBoard::setCentredFrame(int32_t frameIndex) {
  Addon::setCentredFrame(frameIndex);
  framed = 1;
  acquireDecor();
  firstRow = 0;
  selectedRow = 0;
  dragY = 0;
  tickerOffset = 0;
}

VMPtr<Addon::Rects> MsgBoard::getItemRects() {
  VMPtr<Rects> out = Rects::createMulti(1, idCount > 0 ? idCount : 0);
  VMPtr<tq::Frame> f = frame;
  for (int32_t i = 0; i < out->length; ++i) {
    VMPtr<Ints> r = boxOf(f, kFirstAnswerKind + i);
    r->at(0) += frameX;
    r->at(1) += frameY;
    out->set(i, r);
  }
  return out;
}

VMPtr<Addon::Ints> MsgBoard::textRegion(bool lower) {
  VMPtr<Ints> r = Ints::create(4);
  r->at(0) = textX;
  r->at(1) = textY + (lower ? textWidth / 2 : 0);
  r->at(2) = textWidth;
  r->at(3) = textWidth / 2;
  return r;
}

void MsgBoard::layout() {
  boardMode = 1;
  VMPtr<Ints> r = boxOf(frame, 2);
  acquireDecor();
  VMPtr<Ints> area = Ints::create(4);
  area->at(0) = frameX;
  area->at(1) = frameY;
  area->at(2) = frameWidth;
  area->at(3) = frameHeight;
  VMPtr<Pointer> touch = pointer;
  touch->resetX();
  touch->resetY();
  if (area->at(2) == 0 || r->at(3) == 0) {
    area->at(0) = 0;
    area->at(1) = 0;
    area->at(2) = Main::kGameWidth;
    area->at(3) = Main::kGameHeight;
  }
  touch->addUpRegion(textRegion(false));
  touch->addDownRegion(textRegion(true));
  touch->setBoxes(0, getItemRects(), area);
  const int32_t minY = visibleRows < idCount ? -((rowGap + cellHeight) * (idCount - visibleRows)) : 0;
  touch->setOffsetBounds(0, 0, 0, minY);
}

void MsgBoard::removeTextRegions() {
  VMPtr<Pointer> touch = pointer;
  touch->removeUpRegion(textRegion(false));
  touch->removeDownRegion(textRegion(true));
}

void MsgBoard::dispose() {
  if (boardMode) removeTextRegions();
  Addon::dispose();
}

void MsgBoard::clear() {
  if (boardMode) removeTextRegions();
  Addon::clear();
}

void MsgBoard::paint(VMPtr<Graphics> g) {
  g->setColor(kTextColour);
  Addon::paint(g);
  if (boardMode) paintAnswers(g);
}

void MsgBoard::paintAnswers(VMPtr<Graphics> g) {
  VMPtr<Main>(Main::instance)->selectFont(0);
  Main::_VM_clinitCheck();
  VMPtr<tq::util::text::RichFont> font = Main::font;
  VMPtr<Ints> a = ids;
  VMPtr<tq::Frame> button = decorFrame;
  VMPtr<AnimPlayer> press = pressAnim;
  for (int32_t i = 0; i < idCount && hasIndex(a, i); ++i) {
    VMPtr<Ints> r = boxOf(frame, kFirstAnswerKind + i);
    const int32_t x = r->at(0) + frameX;
    const int32_t y = r->at(1) + frameY;
    if (button) button->paint(g, x, y, 0);
    paintPress(g, press, i, x, y);
    font->drawString(g, textOf(a->at(i)), x + cellWidth / 2, y + (cellHeight - font->getHeight()) / 2,
                     kAnswerAnchor);
  }
}

void MsgBoard::_VM_markReferences(int colour) {
  _VM_mark(pressAnim, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace ui
