// The read side of the screen object: what a layer shows and where, its
// boxes in screen coordinates, and the hit tests.

#include "ui_ResManager.h"
#include "ui_Screen.h"

namespace ui {

using tq::AnimPlayer;
using tq::Paintable;

namespace {

constexpr int32_t kRecord = 5;

// Moves every five-int record of `boxes` by (dx, dy).
void moveRecords(const VMPtr<VMArray<int32_t>>& boxes, int32_t count, int32_t dx, int32_t dy) {
  for (int32_t j = 0; j < count; ++j) {
    boxes->at(kRecord * j) += dx;
    boxes->at(kRecord * j + 1) += dy;
  }
}

}  // namespace

VMPtr<Paintable> Screen::layerDrawable(int32_t layer) {
  if (layer >= layerCapacity) return nullptr;
  return VMPtr<Paintables>(drawables)->get(layer);
}

VMPtr<tq::Gob> Screen::firstImage(int32_t layer) {
  VMPtr<VMArray<tq::Gob>> set = ResManager::gobSets->get(VMPtr<Ints>(gobSlots)->at(layer));
  return set->get(0);
}

VMPtr<tq::AnimSet> Screen::layerAnimSet(int32_t layer) {
  return ResManager::animSets->get(VMPtr<Ints>(animSetSlots)->at(layer));
}

// --- Per-layer accessors ------------------------------------------------

// The drawable kinds (0 image, 1 frame, 2 player) in reverse.
int32_t Screen::getLayerKind(int32_t layer) {
  VMPtr<Paintable> shown = layerDrawable(layer);
  if (!shown) return kNoLayer;
  switch (shown->getKind()) {
    case 0:
      return kImageLayer;
    case 1:
      return kFrameLayer;
    case 2:
      return kPlayerLayer;
    default:
      return kNoLayer;
  }
}

int32_t Screen::getLayerValue(int32_t layer) {
  const int32_t kind = getLayerKind(layer);
  return kind == kFrameLayer || kind == kPlayerLayer ? VMPtr<Ints>(layerValues)->at(layer) : -1;
}

int32_t Screen::getLayerX(int32_t layer) {
  const int32_t kind = getLayerKind(layer);
  if (kind == kNoLayer) return 0;
  if (kind == kPlayerLayer) return VMPtr<Players>(players)->get(layer)->getX();
  return VMPtr<Rows>(offsets)->get(layer)->at(0);
}

int32_t Screen::getLayerY(int32_t layer) {
  const int32_t kind = getLayerKind(layer);
  if (kind == kNoLayer) return 0;
  if (kind == kPlayerLayer) return VMPtr<Players>(players)->get(layer)->getY();
  return VMPtr<Rows>(offsets)->get(layer)->at(1);
}

int32_t Screen::getLayerStep(int32_t layer) {
  return getLayerKind(layer) == kPlayerLayer ? VMPtr<Players>(players)->get(layer)->getStep() : -1;
}

int32_t Screen::getLayerStepInfo(int32_t layer) {
  return getLayerKind(layer) == kPlayerLayer ? VMPtr<Players>(players)->get(layer)->getStepInfo() : 0;
}

int32_t Screen::getLayerWidth(int32_t layer) {
  VMPtr<Paintable> shown = layerDrawable(layer);
  return shown ? shown->getWidth(0) : 0;
}

int32_t Screen::getLayerHeight(int32_t layer) {
  VMPtr<Paintable> shown = layerDrawable(layer);
  return shown ? shown->getHeight(0) : 0;
}

// An image layer has its first image's one box when that box has an area.
int32_t Screen::getLayerBoxCount(int32_t layer) {
  switch (getLayerKind(layer)) {
    case kImageLayer:
      return firstImage(layer)->getBoxCount() != 0 ? 1 : 0;
    case kFrameLayer:
      return layerAnimSet(layer)->getBoxCount(VMPtr<Ints>(layerValues)->at(layer));
    case kPlayerLayer:
      return VMPtr<Players>(players)->get(layer)->getBoxCount();
    default:
      return 0;
  }
}

// --- Geometry -------------------------------------------------------------

// Frames are read untransformed, players under their own transform; the
// fifth int stays 0, as for an image layer.
VMPtr<Screen::Ints> Screen::animationRect(int32_t layer, int32_t kind, int32_t boxType, bool placed) {
  VMPtr<Ints> r = Ints::create(kRecord);
  if (kind == kFrameLayer) {
    layerAnimSet(layer)->getBoxes(VMPtr<Ints>(layerValues)->at(layer), 0, r, boxType);
  } else {
    VMPtr<AnimPlayer> player = VMPtr<Players>(players)->get(layer);
    player->getBoxes(r, boxType);
    if (placed) {
      r->at(0) += player->getX();
      r->at(1) += player->getY();
    }
  }
  r->at(4) = 0;
  VMPtr<Ints> offset = VMPtr<Rows>(offsets)->get(layer);
  r->at(0) += offset->at(0);
  r->at(1) += offset->at(1);
  return r;
}

VMPtr<Screen::Ints> Screen::getLayerRect(int32_t layer, int32_t boxType) {
  const int32_t kind = getLayerKind(layer);
  if (kind == kFrameLayer || kind == kPlayerLayer) return animationRect(layer, kind, boxType, true);
  VMPtr<Ints> r = Ints::create(kRecord);
  if (kind == kNoLayer) return r;
  VMPtr<tq::Gob> image = firstImage(layer);
  VMPtr<Ints> offset = VMPtr<Rows>(offsets)->get(layer);
  r->at(0) = image->getOffsetX(0) + image->boxX + offset->at(0);
  r->at(1) = image->getOffsetY(0) + image->boxY + offset->at(1);
  r->at(2) = image->boxWidth;
  r->at(3) = image->boxHeight;
  return r;
}

// The index must be a layer of the tables: the read throws otherwise.
VMPtr<Screen::Ints> Screen::getLayerBoxRect(int32_t layer) {
  if (!VMPtr<Paintables>(drawables)->get(layer)) return Ints::create(kRecord);
  const int32_t kind = getLayerKind(layer);
  if (kind == kFrameLayer || kind == kPlayerLayer) return animationRect(layer, kind, kLayerBoxType, false);
  return Ints::create(kRecord);
}

VMPtr<Screen::Ints> Screen::getLayerBoxes(int32_t layer) {
  const int32_t kind = getLayerKind(layer);
  if (kind == kNoLayer) return Ints::create(kRecord);
  VMPtr<Ints> offset = VMPtr<Rows>(offsets)->get(layer);
  if (kind == kImageLayer) {
    VMPtr<tq::Gob> image = firstImage(layer);
    VMPtr<Ints> r = Ints::create(kRecord);
    r->at(0) = image->boxX + offset->at(0);
    r->at(1) = image->boxY + offset->at(1);
    r->at(2) = image->boxWidth;
    r->at(3) = image->boxHeight;
    return r;
  }
  if (kind == kFrameLayer) {
    VMPtr<tq::AnimSet> set = layerAnimSet(layer);
    const int32_t frame = VMPtr<Ints>(layerValues)->at(layer);
    const int32_t n = set->getBoxCount(frame);
    VMPtr<Ints> r = Ints::create(kRecord * n);
    set->getBoxes(frame, 0, r);
    moveRecords(r, n, offset->at(0), offset->at(1));
    return r;
  }
  VMPtr<AnimPlayer> player = VMPtr<Players>(players)->get(layer);
  const int32_t n = player->getBoxCount();
  VMPtr<Ints> r = Ints::create(kRecord * n);
  player->getBoxes(r);
  moveRecords(r, n, player->getX() + offset->at(0), player->getY() + offset->at(1));
  return r;
}

VMPtr<Screen::CollisionBox> Screen::getCollisionBox(int32_t layer, int32_t boxIndex) {
  VMPtr<CollisionBox> box = CollisionBox::make(CollisionBox::kRectangle);
  const int32_t kind = getLayerKind(layer);
  if (kind == kNoLayer) return box;
  if (kind == kImageLayer) {
    VMPtr<tq::Gob> image = firstImage(layer);
    box->set(image->getOffsetX(0) + image->boxX, image->getOffsetY(0) + image->boxY, image->boxWidth,
             image->boxHeight);
  } else {
    VMPtr<Paintable::Boxes> holder = Paintable::Boxes::create(1);
    holder->set(0, box);
    if (kind == kFrameLayer) {
      layerAnimSet(layer)->getCollisionBox(VMPtr<Ints>(layerValues)->at(layer), 0, holder, boxIndex);
    } else {
      VMPtr<AnimPlayer> player = VMPtr<Players>(players)->get(layer);
      player->getCollisionBox(holder, boxIndex);
      box->x += player->getX();
      box->y += player->getY();
    }
  }
  VMPtr<Ints> offset = VMPtr<Rows>(offsets)->get(layer);
  box->x += offset->at(0);
  box->y += offset->at(1);
  return box;
}

// A rectangle with a width or height of 0 is the point at its corner.
uint8_t Screen::hitTest(int32_t layer, int32_t boxIndex, VMPtr<Ints> rect) {
  return hitTestRect(layer, boxIndex, rect->at(0), rect->at(1), rect->at(2), rect->at(3));
}

uint8_t Screen::hitTestBox(int32_t layer, int32_t boxIndex, VMPtr<CollisionBox> box) {
  return hitTestRect(layer, boxIndex, box->x, box->y, box->width, box->height);
}

uint8_t Screen::hitTestRect(int32_t layer, int32_t boxIndex, int32_t x, int32_t y, int32_t w, int32_t h) {
  VMPtr<CollisionBox> box = getCollisionBox(layer, boxIndex);
  return w != 0 && h != 0 ? box->contains(x, y, w, h) : box->contains(x, y);
}

}  // namespace ui
