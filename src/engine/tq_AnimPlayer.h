#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "tq_AnimSet.h"
#include "tq_Frame.h"
#include "tq_Gob.h"
#include "tq_Paintable.h"
#include "tq_graphics_CollisionBox.h"

namespace tq {

// Plays one animation of an AnimSet at a position (kind 2). `update`
// advances the steps by elapsed time, counts loops, and moves the player
// by the change of the steps' offsets (carried across loops, optionally
// blended between steps, mirrored or swapped under `transform`). A step
// of display priority above the ones passed since the last paint stays the
// one shown; priority 3 also stops the catch-up there.
//
// States: idle (no set or no steps), running after setAnimation, stopped
// when a finite loop count runs out (the last step held at its full
// duration; update then only copies the position into the previous one).
// Positions and offsets are 16-bit and wrap. The bounding frame
// (getAnimationFrame) is that of the first animation it is asked for.
// Collision tests share the scratch arrays and hit statics of Paintable
// and CollisionBox; used on the canvas thread only.
class AnimPlayer : public Paintable {
  VM_CLASS(AnimPlayer, Paintable)

 public:
  using CollisionBox = graphics::CollisionBox;

  VMPtr<AnimPlayer> _VM_init();

  using Paintable::collides;
  int32_t getKind() override { return 2; }
  int32_t getBoxes(int32_t transform, VMPtr<Ints> out) override { return getBoxes(transform, out, -1); }
  int32_t getHeight(int32_t transform) override { return getAnimationFrame()->getHeight(transform); }
  // At (x, y) from its position, under `transform` XORed into its own.
  void paint(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t transform) override;
  // The displayed step's frame; then the priority starts again from 0.
  void paint(VMPtr<Graphics> g) override;
  int32_t getBoxes(int32_t transform, VMPtr<Boxes> out, int32_t type) override;
  int32_t getBoxes(int32_t transform, VMPtr<Ints> out, int32_t type) override;
  int32_t getWidth(int32_t transform) override { return getAnimationFrame()->getWidth(transform); }
  int32_t getBoxCount() override;
  int32_t getOffsetX(int32_t transform) override { return getAnimationFrame()->getOffsetX(transform); }
  int32_t getOffsetY(int32_t transform) override { return getAnimationFrame()->getOffsetY(transform); }

  virtual VMPtr<Frame> getFrame();
  virtual int32_t getPrevX() { return prevX; }
  virtual void move(int32_t dx, int32_t dy);
  virtual uint8_t collidesWith(VMPtr<Gob> gob, int32_t gx, int32_t gy, int32_t gt);
  virtual uint8_t collidesWith(VMPtr<AnimPlayer> other);
  virtual uint8_t collidesWith(int32_t px, int32_t py);
  // The player's boxes at its position against `box`; false (both hit
  // statics cleared) without boxes or for an empty box.
  virtual uint8_t collidesWith(VMPtr<CollisionBox> box);
  // -1 for any endless count.
  virtual int32_t getLoopCount() { return loopCounter < 0 ? -1 : loopCounter; }
  virtual int32_t getTransform() { return transform; }
  virtual int32_t getTag() { return tag; }
  virtual int32_t getValue() { return value; }
  virtual int32_t getBoxes(VMPtr<Ints> out, int32_t type) { return getBoxes(transform, out, type); }
  virtual int32_t getBoxes(VMPtr<Boxes> out, int32_t type) { return getBoxes(transform, out, type); }
  virtual void setTransform(int32_t t) { transform = static_cast<int8_t>(t); }
  // Time since the start of the current loop.
  virtual int32_t getTime();
  virtual void setStep(int32_t s);
  virtual VMPtr<Frame> getAnimationFrame();
  virtual int32_t getParts(VMPtr<Ints> out);
  virtual int32_t getBoxes(VMPtr<Boxes> out) { return getBoxes(transform, out, -1); }
  virtual int32_t getBoxes(VMPtr<Ints> out) { return getBoxes(transform, out, -1); }
  virtual int32_t getCurrentStep() { return step; }
  // Whether the player still runs.
  virtual uint8_t update(int32_t elapsed);
  virtual VMPtr<Gob::Gobs> getGobs();
  virtual int32_t getDuration();
  virtual void paintBoxes(VMPtr<Graphics> g);
  virtual int32_t getDeltaX() { return x - prevX; }
  virtual int32_t getDeltaY() { return y - prevY; }
  // The displayed frame's bounds at the position; `out` untouched without
  // steps.
  virtual void getBounds(VMPtr<Ints> out);
  virtual int32_t getFrameIndex();
  virtual void setY(int32_t v) { y = static_cast<int16_t>(v); }
  virtual void setAnimation(int32_t index);
  virtual int32_t getStep() { return displayStep; }
  virtual int32_t getX() { return x; }
  virtual int32_t getStepCount() { return stepCount; }
  // The displayed frame's first box (of `boxType`) under the transform,
  // moved to (px, py); false, with out's width 0, when there is none.
  virtual uint8_t getFirstBox(VMPtr<CollisionBox> out, int32_t px, int32_t py, int32_t t);
  virtual uint8_t getFirstBox(VMPtr<CollisionBox> out) { return getFirstBox(out, x, y, transform); }
  virtual void setTag(int32_t v) { tag = static_cast<int8_t>(v); }
  virtual void setPrevX(int32_t v) { prevX = static_cast<int16_t>(v); }
  virtual void toggleTransform(int32_t t) { transform = static_cast<int8_t>(transform ^ t); }
  virtual void setX(int32_t v) { x = static_cast<int16_t>(v); }
  virtual int32_t getPrevY() { return prevY; }
  virtual void setPrevY(int32_t v) { prevY = static_cast<int16_t>(v); }
  virtual int32_t getY() { return y; }
  virtual void setValue(int32_t v) { value = static_cast<int16_t>(v); }
  virtual void setAnimSet(VMPtr<AnimSet> set) { animSet = set; }
  virtual VMPtr<AnimSet> getAnimSet() { return VMPtr<AnimSet>(animSet); }
  virtual int32_t getAnimation() { return animation; }
  // Box number `boxIndex` of the displayed frame (not moved by the
  // position) into out[0]: 1; 0 without steps or set, or when it does not
  // fit.
  virtual int32_t getCollisionBox(VMPtr<Boxes> out, int32_t boxIndex);
  // The displayed step's step byte; 0 without steps.
  virtual int32_t getStepInfo();

  void _VM_markReferences(int colour) override;

  int8_t tag;
  int16_t value;
  int8_t transform;
  int8_t boxType;
  int16_t prevY;
  int16_t prevX;
  int16_t y;
  int16_t x;
  int8_t loopCounter;
  VMField<Frame> animationFrame;
  int16_t offsetX;
  char16_t firstStep;
  int16_t step;
  int16_t offsetY;
  char16_t time;
  int16_t animation;
  char16_t stepCount;
  VMField<AnimSet> animSet;
  int16_t displayStep;
  int8_t priority;

 private:
  int32_t stepEntry(int32_t s);
  int32_t stepByte(int32_t s);
  int32_t durationOf(int32_t s);
  // The step offset the player stands at after the catch-up, blended
  // towards the next step when the step asks for it.
  void blendedOffset(int32_t t, int32_t& ox, int32_t& oy);
  // Moves the position by an offset change under the transform.
  void moveBy(int32_t ddx, int32_t ddy);
};

}  // namespace tq
