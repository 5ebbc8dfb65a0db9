#include "ui_ListMenu.h"

#include "main_Main.h"

VM_REGISTER_CLASS(ui::ListMenu, "ui.ListMenu", "ui.Addon", VM_INSTANTIABLE);

namespace ui {

using main::Main;
using tq::AnimPlayer;

VMPtr<ListMenu> ListMenu::_VM_init() {
  Base::_VM_init();
  return VMPtr<ListMenu>(this);
}

void ListMenu::tick() { advance(VMPtr<AnimPlayer>(pressAnim)); }

void ListMenu::layout() {
  listMode = 1;
  VMPtr<AnimPlayer> press = acquireDecoration(boardMode ? 1 : 0, boardMode ? kBoardRowFrame : kRowFrame);
  if (press) pressAnim = press;
  takeDecorCellSize();
  VMPtr<Ints> a = ids;
  const int32_t entries = a ? a->length : 0;
  visibleRows = cellHeight == 0 ? 0 : boxHeight / cellHeight;
  if (entries < visibleRows) visibleRows = entries;
  cellOffsetX = (boxWidth - cellWidth) / 2;
  firstRow = 0;
  selectedRow = 0;
  rowGap = (boxHeight - visibleRows * cellHeight) / (visibleRows + 1);
  textOriginX = 0;
  dragY = 0;
  tickerOffset = 0;
  VMPtr<Pointer> touch = pointer;
  touch->resetX();
  touch->resetY();
  touch->addUpRegion(getUpArrowBox());
  touch->addDownRegion(getDownArrowBox());
  touch->addLeftRegion(getLeftArrowBox());
  touch->addRightRegion(getRightArrowBox());
  VMPtr<Ints> area = Ints::create(4);
  area->at(0) = boxX;
  area->at(1) = boxY;
  area->at(2) = boxWidth;
  area->at(3) = boxHeight;
  touch->setBoxes(0, getItemRects(), area);
  const int32_t minY = visibleRows < idCount ? -((rowGap + cellHeight) * (idCount - visibleRows)) : 0;
  touch->setOffsetBounds(0, 0, 0, minY);
}

void ListMenu::paint(VMPtr<Graphics> g) {
  g->setColor(kTextColour);
  if (listMode) paintRows(g);
  Addon::paint(g);
}

void ListMenu::paintRows(VMPtr<Graphics> g) {
  setClip(g, boxX, boxY, boxWidth, boxHeight);
  VMPtr<Main>(Main::instance)->selectFont(0);
  Main::_VM_clinitCheck();
  VMPtr<tq::util::text::RichFont> font = Main::font;
  VMPtr<Ints> a = ids;
  for (int32_t i = 0; i < visibleRows && i < idCount; ++i) {
    const int32_t x = boxX + cellOffsetX;
    const int32_t y = boxY + rowGap + i * (rowGap + cellHeight);
    if (!hasIndex(a, firstRow + i)) break;
    const int32_t id = a->at(firstRow + i);
    if (id == 0) {
      cachedFrame(decorAnimSetIndex, kDisabledRowFrame)->paint(g, x, y, 0);
      decorFrame = cachedFrame(decorAnimSetIndex, kBoardRowFrame);
    } else {
      VMPtr<tq::Frame>(decorFrame)->paint(g, x, y, 0);
      paintPress(g, VMPtr<AnimPlayer>(pressAnim), i, x, y);
    }
    VMPtr<java::lang::String> s = textOf(id);
    const int32_t textY = boxY + rowGap + (cellHeight - font->getHeight()) / 2 + i * (cellHeight + rowGap);
    font->drawString(g, s, boxX + (boxWidth - font->stringWidth(s)) / 2, textY, kTopLeft);
  }
  resetClip(g);
}

void ListMenu::_VM_markReferences(int colour) {
  _VM_mark(pressAnim, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace ui
