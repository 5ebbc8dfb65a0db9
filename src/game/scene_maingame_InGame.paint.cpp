// Painting: the two views as the scene's background, then the objects.

#include "scene_maingame_InGame.h"

namespace scene::maingame {

void InGame::paint(VMPtr<Graphics> g) {
  switch (state) {
    case kLoading:
      return;
    case kLevelEnd: {
      VMPtr<ui::Screen> o = overlay;
      if (o && o->isVisible()) o->paint(g);
      VMPtr<ui::Addon> m = pauseMenu;
      if (m && m->isVisible()) m->paint(g);
      return;
    }
    default:
      Scene::paint(g);
      return;
  }
}

// The upper view shows B's cameras (indices 1 and 3), the lower A's (0
// and 2), with a black line between them.
void InGame::paintBackground(VMPtr<Graphics> g) {
  if (state == kLoading || (state == kLevelEnd && subStep >= 9)) return;
  VMPtr<Ints> x = viewX;
  VMPtr<Ints> y = viewY;
  if (!x || !y) return;
  paintView(g, x->at(1), y->at(1), x->at(3), y->at(3));
  g->translate(0, viewHeight);
  paintView(g, x->at(0), y->at(0), x->at(2), y->at(2));
  g->translate(0, -viewHeight);
  g->setColor(0);
  g->drawLine(0, viewHeight, kScreenWidth, viewHeight);
}

void InGame::paintView(VMPtr<Graphics> g, int32_t farX, int32_t farY, int32_t mapX, int32_t mapY) {
  VMPtr<tq::CellLayer> far = farLayer;
  far->setPosition(farX, farY);
  far->paint(g);
  VMPtr<tq::CellLayer> front = frontLayer;
  if (front) {
    front->setPosition(mapX, mapY);
    front->paint(g);
  }
  VMPtr<tq::CellLayer> map = mapLayer;
  map->setPosition(mapX, mapY);
  map->paint(g);
}

}  // namespace scene::maingame
