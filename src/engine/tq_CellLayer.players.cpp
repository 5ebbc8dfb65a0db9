// Players placed in the grid layer: scenery animations at map pixels,
// advanced by the canvas clock and drawn after the tiles and the object
// list.
#include <algorithm>

#include "VMJava.h"
#include "VMThrow.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "tq_AnimPlayer.h"
#include "tq_CellLayer.h"
#include "tq_TqCanvas.h"

namespace tq {

void CellLayer::setAnimatedCellCapacity(int32_t n) {
  cellPlayerCount = 0;
  cellPlayerTime = kNeverAdvanced;
  cellsChanged = 1;
  if (n <= 0) {
    cellPlayers = nullptr;
    cellPlayerX = nullptr;
    cellPlayerY = nullptr;
    return;
  }
  VMPtr<VMArray<Paintable>> players = VMArray<Paintable>::create(n);
  VMPtr<VMArray<int32_t>> xs = VMArray<int32_t>::create(n);
  VMPtr<VMArray<int32_t>> ys = VMArray<int32_t>::create(n);
  cellPlayers = players;
  cellPlayerX = xs;
  cellPlayerY = ys;
}

void CellLayer::addAnimatedCell(VMPtr<Paintable> p, int32_t x, int32_t y) {
  if (!p) _VM_throwNullPointerException();
  // A list never made is as full as a full one: the index exception.
  if (!cellPlayers) _VM_throwNew<java::lang::ArrayIndexOutOfBoundsException>();
  cellPlayers->set(cellPlayerCount, p);
  cellPlayerX->at(cellPlayerCount) = x;
  cellPlayerY->at(cellPlayerCount) = y;
  ++cellPlayerCount;
  cellsChanged = 1;
}

int32_t CellLayer::playerStep() {
  const int64_t now = TqCanvas::getTimeMillis();
  const int64_t elapsed =
      cellPlayerTime == kNeverAdvanced ? 0 : std::clamp<int64_t>(now - cellPlayerTime, 0, kMostPlayerStep);
  cellPlayerTime = now;
  return static_cast<int32_t>(elapsed);
}

void CellLayer::advancePlayers() {
  const int32_t elapsed = playerStep();
  if (elapsed == 0) return;
  VMPtr<VMArray<Paintable>> players = cellPlayers;
  for (int32_t i = 0; i < cellPlayerCount; ++i) {
    VMPtr<Paintable> p = players->get(i);
    if (p->getKind() == 2) _VM_cast<AnimPlayer>(p)->update(elapsed);
  }
}

void CellLayer::refreshPlayers() {
  if (cellPlayerCount == 0) return;
  // A whole redraw follows: the players only advance.
  if (cellsChanged) return advancePlayers();
  const int32_t elapsed = playerStep();
  if (elapsed == 0) return;
  VMPtr<VMArray<Paintable>> players = cellPlayers;
  VMPtr<VMArray<int32_t>> xs = cellPlayerX;
  VMPtr<VMArray<int32_t>> ys = cellPlayerY;
  for (int32_t i = 0; i < cellPlayerCount; ++i) {
    VMPtr<Paintable> p = players->get(i);
    if (p->getKind() != 2) continue;
    // The rectangle covering the player's frame before and after.
    const int64_t x = xs->at(i);
    const int64_t y = ys->at(i);
    int64_t left = x + p->getOffsetX(0);
    int64_t top = y + p->getOffsetY(0);
    int64_t right = left + p->getWidth(0);
    int64_t bottom = top + p->getHeight(0);
    _VM_cast<AnimPlayer>(p)->update(elapsed);
    const int64_t newLeft = x + p->getOffsetX(0);
    const int64_t newTop = y + p->getOffsetY(0);
    right = std::max(right, newLeft + p->getWidth(0));
    bottom = std::max(bottom, newTop + p->getHeight(0));
    left = std::min(left, newLeft);
    top = std::min(top, newTop);
    redrawInBufferView(left, top, right - left, bottom - top);
  }
}

void CellLayer::drawPlayers(VMPtr<Graphics> g, int64_t mx, int64_t my, int32_t dx, int32_t dy, int32_t w,
                            int32_t h) {
  VMPtr<VMArray<Paintable>> players = cellPlayers;
  VMPtr<VMArray<int32_t>> xs = cellPlayerX;
  VMPtr<VMArray<int32_t>> ys = cellPlayerY;
  for (int32_t i = 0; i < cellPlayerCount; ++i) {
    VMPtr<Paintable> p = players->get(i);
    const int64_t left = int64_t{xs->at(i)} + p->getOffsetX(0);
    const int64_t top = int64_t{ys->at(i)} + p->getOffsetY(0);
    if (left >= mx + w || top >= my + h || left + p->getWidth(0) <= mx || top + p->getHeight(0) <= my) continue;
    p->paint(g, static_cast<int32_t>(xs->at(i) - mx + dx), static_cast<int32_t>(ys->at(i) - my + dy), 0);
  }
}

}  // namespace tq
