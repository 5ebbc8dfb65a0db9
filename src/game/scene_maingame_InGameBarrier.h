#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "scene_maingame_InGameObject.h"

namespace scene::maingame {

// Everything in a level that is not a main object: obstacles, enemies,
// pick-ups and what throwers throw. A barrier moves through its
// animations and the rule of its kind, stands on the level's platforms
// like a main object, and each frame the type of its current frame's
// first box decides what touching it does to a main object (A first; B
// only when A is not touched):
//
//   type  main object                    barrier
//   0     hit, unless hurt               animation 6, unless it was hurt
//   1     dies, unless hurt              animation 6, unless it was hurt
//   2     action pending, unless hurt    animation 5, unless it was hurt
//   3     pushed out (solid)             -
//   4     one item gathered              animation 3
//   5     one life more                  animation 3
//   6     -                              animation 3
//   7     pushed out                     -
//
// Kinds: 1 and 3 start walking when the view's left (1) or right (3) edge
// passes them; 2 and 5 throw up to five children (2 every 2000 ms once
// the view's left edge passes, 5 every 1000 ms from the frame after its
// right edge comes near, each child a random one of two kinds from the
// sets at id + 1); 4 flies across the view towards a main object; 6, 7
// and 9 (pick-ups) have no rule. Contacts are tested only while the
// barrier overlaps its view: the camera of the view that shows its half of
// the map (the loader's pairA/pairB).
//
// Children belong to their thrower alone: ticked and painted through it,
// cleared by its `reset`. `armed` is a flyer's "in flight"; for the other
// kinds it stops the fall-and-walk step. Canvas thread only.
class InGameBarrier : public InGameObject {
  VM_CLASS(InGameBarrier, InGameObject)

 public:
  using Barriers = VMArray<InGameBarrier>;
  // Barrier animations.
  enum Look : int32_t {
    kStanding = 0,
    kFallLeft = 3,  // also a gathered pick-up's look
    kFallRight = 4,
    kStruck = 5,
    kHarmed = 6,
    kWalkLeft = 7,
    kWalkRight = 8,
    kThrowing = 9,
    kFlyDown = 10,
    kFlyUp = 11,
  };
  static constexpr int32_t kChildren = 5;
  static constexpr int32_t kThrowEveryMs = 2000;
  static constexpr int32_t kQuickThrowEveryMs = 1000;
  static constexpr int32_t kNoAim = -111;
  static constexpr int32_t kMostBounces = 8;
  static constexpr int32_t kViewWidth = 240;
  static constexpr int32_t kViewHeight = 160;

  // Kind 0, a 240 x 160 view.
  VMPtr<InGameBarrier> _VM_init();

  virtual void setKind(int32_t k) { kind = k; }
  // The first box's effect on A, else on B, while in view.
  virtual void contactMainObjects();
  // Layer 0 (top y - height, bottom y) overlaps the view rectangle.
  virtual void updateInView();
  virtual int32_t getKind() { return kind; }
  virtual void showHitAnimation() { setAnimation(kHarmed); }

  // The view, then (while visible and not paused) the players, the
  // sprite, the kind's rule, the fall-and-walk step and the contacts; the
  // children always.
  void tick() override;
  // As a screen, then the children in slot order.
  void paint(VMPtr<Graphics> g) override;
  // Only the struck look: a barrier does not die.
  void die() override { setAnimation(kStruck); }
  // While airborne: the last platform met (standing: its rectangle raised
  // by the barrier's height; otherwise from above, within a quarter of
  // the height).
  void land() override;
  // The object's reset, then no children and, but for a flyer, `armed` as
  // it was.
  void reset() override;

  void _VM_markReferences(int colour) override;

  VMField<Barriers> children;
  int32_t kind;
  int32_t viewHeight;
  int32_t viewX;
  int32_t viewY;
  uint8_t started;
  uint8_t aimAtA;
  uint8_t descending;
  int32_t spawnTime;
  uint8_t movingRight;
  int32_t diveSpeed;
  int32_t diveStep;
  int32_t viewWidth;
  int32_t bounces;

 private:
  void chooseView();
  void kindRule();
  void throwEvery(int32_t periodMs, bool twoKinds);
  void throwChild(int32_t gobId, int32_t animSetId, int32_t animation, int32_t childKind);
  void flyerRule();
  void aim();
  void fly();
  void fallAndWalk();
  void affect(const VMPtr<InGameObject>& target, int32_t type);
  // The map's height in pixels.
  int32_t mapHeight();
};

}  // namespace scene::maingame
