// The camera: both views share one horizontal target between the two main
// objects; each view follows its own object vertically within its half of
// the map. The far layers move by a third of the horizontal motion and
// wrap within their repeated tile row.

#include "scene_maingame_InGame.h"

namespace scene::maingame {

namespace {

int32_t clampLowFirst(int32_t v, int32_t low, int32_t high) {
  if (v < low) return low;
  if (v > high) return high;
  return v;
}

}  // namespace

void InGame::updateCamera() {
  VMPtr<ui::LevelLoader> l = loader;
  const int32_t scaleA = l->scaleA;
  const int32_t scaleB = l->scaleB;
  if (!viewX && !viewY) {
    VMPtr<Ints> x = Ints::create(4);
    VMPtr<Ints> y = Ints::create(4);
    viewX = x;
    viewY = y;
    int32_t lower = l->pointBY + 4 * scaleB - kViewHeight;
    if (lower < 0) lower = 0;
    int32_t upper = l->pointAY + 4 * scaleB - kViewHeight;
    const int32_t upperMost = l->height * scaleB - viewHeight;
    if (upper > upperMost) upper = upperMost;
    y->at(0) = lower;
    y->at(1) = upper;
    y->at(2) = lower;
    y->at(3) = upper;
  }
  VMPtr<Ints> vx = viewX;
  VMPtr<Ints> vy = viewY;
  VMPtr<tq::CellLayer> map = mapLayer;
  VMPtr<tq::CellLayer> far = farLayer;
  const int32_t mapWidth = map->getColumns() * far->getCellWidth();
  const int32_t halfHeight = far->getCellHeight() * map->getRows() / 2;

  VMPtr<InGameObject> a = objectA;
  VMPtr<InGameObject> b = objectB;
  const int32_t ax = a->getLayerX(0);
  const int32_t ay = a->getLayerY(0);
  const int32_t bx = b->getLayerX(0);
  const int32_t by = b->getLayerY(0);

  const int32_t margin = (viewWidth - scaleA) / 2;
  const int32_t yOff = viewHeight - 2 * scaleB;
  int32_t c = scaleA + (ax + bx) / 2;

  // The one far behind is caught up at its view's left edge and lost.
  const int32_t gap = ax > bx ? ax - bx : bx - ax;
  if (gap > 2 * (margin - scaleA)) {
    if (c - 2 * scaleA + margin < bx) {
      a->setLayerPosition(0, vx->at(2), ay);
      a->fallBehind();
      c = bx - margin + 2 * scaleA;
    } else if (c - 2 * scaleA + margin < ax) {
      b->setLayerPosition(0, vx->at(3), by);
      b->fallBehind();
      c = ax - margin + 2 * scaleA;
    }
  }

  const int32_t tx = clampLowFirst(c - margin, 0, mapWidth - viewWidth);
  const int32_t tyA = clampLowFirst(ay - yOff, 0, halfHeight - viewHeight);
  const int32_t tyB = clampLowFirst(by - yOff, halfHeight, 2 * halfHeight - viewHeight);

  const int32_t dA = tx - vx->at(2);
  const int32_t dB = tx - vx->at(3);
  const int32_t eA = tyA - vy->at(2);
  const int32_t eB = tyB - vy->at(3);
  vx->at(2) += dA;
  vx->at(3) += dB;
  vx->at(0) += dA / 3;
  vx->at(1) += dB / 3;
  vy->at(0) += eA;
  vy->at(1) += eB;
  vy->at(2) += eA;
  vy->at(3) += eB;

  // The far row repeats every 15 tiles.
  const int32_t farRow = kFarTilesPerRow * scaleA;
  for (int32_t i = 0; i < 2; ++i) {
    if (vx->at(i) < 0) {
      vx->at(i) += viewWidth;
    } else if (vx->at(i) > farRow) {
      vx->at(i) -= farRow;
    }
  }

  if (mapWidth < a->getLayerX(0) && mapWidth < b->getLayerX(0)) {
    state = kResults;
    subStep = 0;
  }

  VMPtr<Ints> pairA = l->pairA;
  VMPtr<Ints> pairB = l->pairB;
  pairA->at(0) = vx->at(2);
  pairB->at(0) = vy->at(2);
  pairA->at(1) = vx->at(3);
  pairB->at(1) = vy->at(3);
}

}  // namespace scene::maingame
