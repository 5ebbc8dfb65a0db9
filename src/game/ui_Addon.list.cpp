// The box's entries: ids, list moves, keys, touch queries and the ticker.
#include "main_Main.h"
#include "ui_Addon.h"

namespace ui {

using main::Main;

void Addon::setIdCount(int32_t n) {
  VMPtr<Ints> made = Ints::create(n);
  idCount = n;
  ids = made;
}

void Addon::setSelectedRow(int32_t i) {
  if (hasIndex(ids, i)) selectedRow = i;
}

int32_t Addon::getSelectedId() {
  VMPtr<Ints> a = ids;
  return active && hasIndex(a, selectedRow) ? a->at(selectedRow) : -1;
}

int32_t Addon::getTouchedIndex() {
  VMPtr<Ints> a = ids;
  if (touchedRow == -1) return -1;
  const int32_t i = touchedRow + firstRow;
  return hasIndex(a, i) && a->at(i) != 0 ? i : -1;
}

int32_t Addon::getTouchedId() {
  const int32_t i = getTouchedIndex();
  return i == -1 ? -1 : VMPtr<Ints>(ids)->at(i);
}

// --- List moves ----------------------------------------------------------

// Below the top the list wraps to its last full page (never above row 0).
void Addon::stepUp() {
  --firstRow;
  if (firstRow < 0) firstRow = idCount - visibleRows > 0 ? idCount - visibleRows : 0;
}

void Addon::stepDown() { firstRow = firstRow + visibleRows < idCount ? firstRow + 1 : 0; }

// The entry shown at the selected row (the top row when none is selected).
bool Addon::selectedEntryDisabled() {
  const int32_t i = firstRow + (selectedRow > 0 ? selectedRow : 0);
  VMPtr<Ints> a = ids;
  return hasIndex(a, i) && a->at(i) == 0;
}

void Addon::moveList(void (Addon::*step)()) {
  const int32_t start = firstRow;
  const int32_t places = idCount - visibleRows > 0 ? idCount - visibleRows + 1 : 1;
  for (int32_t n = 0; n < places; ++n) {
    (this->*step)();
    if (!selectedEntryDisabled()) return;
  }
  firstRow = start;
}

void Addon::listUp() {
  if (active) moveList(&Addon::stepUp);
}

void Addon::listDown() {
  if (active) moveList(&Addon::stepDown);
}

// A list or board moves its rows; a framed box or one with text scrolls.
void Addon::key(void (Addon::*list)(), void (Addon::*scroll)()) {
  if (!active) return;
  tickerOffset = 0;
  if (listMode || boardMode) {
    (this->*list)();
  } else if (framed || text) {
    (this->*scroll)();
  }
}

void Addon::keyUp() { key(&Addon::listUp, &Addon::scrollTextUp); }

void Addon::keyDown() { key(&Addon::listDown, &Addon::scrollTextDown); }

// --- Touch ---------------------------------------------------------------

void Addon::pollTouch(int32_t, int32_t) {
  updateSelection();
  updateTouchedRow();
}

void Addon::updateSelection() {
  VMPtr<Ints> a = ids;
  if (!a) {
    selectedRow = -1;
    return;
  }
  const int32_t row = VMPtr<Pointer>(pointer)->pressedBox(0);
  selectedRow = row >= 0 && row < a->length ? row : -1;
}

void Addon::updateTouchedRow() { touchedRow = VMPtr<Pointer>(pointer)->releasedBox(0); }

void Addon::updateDrag() {
  if (listMode || boardMode || scrollable) dragY = VMPtr<Pointer>(pointer)->getDragY(0);
}

// --- Ticker --------------------------------------------------------------

void Addon::tickerStep() {
  VMPtr<Ints> a = ids;
  if (!scrollable || !hasIndex(a, selectedRow)) return;
  Main::_VM_clinitCheck();
  const int32_t width = VMPtr<tq::util::text::RichFont>(Main::font)->stringWidth(textOf(a->at(selectedRow)));
  if (width <= Main::kGameWidth) {
    tickerOffset = 0;
    return;
  }
  tickerOffset -= 2;
  if (tickerOffset <= -(width + boxX)) tickerOffset = Main::kGameWidth;
}

}  // namespace ui
