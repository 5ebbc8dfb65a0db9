#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_io_DataInputStream.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "tq_Frame.h"
#include "tq_Gob.h"
#include "tq_graphics_CollisionBox.h"

namespace tq {

class AnimPlayer;

// Everything an animated character needs apart from its pixels, held as
// packed int tables (no object per step, frame, part or box):
//   animation  bits 0-9 step count, 10-15 loop count (signed; negative
//              endless, 0 never advances), 16-31 first step
//   step       bits 0-1 blend flags, 2-11 dy, 12-21 dx (signed), 22-31 frame
//   step byte  bits 0-5 duration index, 6-7 display priority
//   frame      bits 0-7 part count, 8-15 box count, 16-31 first part
//   part       bits 0-1 transform (XORed with the drawing one), 2-11 y,
//              12-21 x (signed), 22-31 sprite index into `gobs`
//   box        bits 0-9 width, 10-20 y, 21-31 x (signed)
//   box extra  bits 0-4 type, 5 circle, 6-15 height
//
// The resource (big-endian) is read by load; its compact integers are U
// (a byte 0-254, or 255 and an unsigned 16-bit value) and S (a signed byte,
// or -128 and a signed 16-bit value). A value that does not fit its packed
// field, a count whose start index would not fit, or a U read at the end
// of the data ends the load like a cut file: the set keeps the tables read
// so far and the rest stay null. Durations of 0 load as 1 (the player
// divides by them and its catch-up needs them to advance).
//
// Queries check no ranges of their own: an index outside a table throws
// the runtime's ArrayIndexOutOfBoundsException, a missing table
// NullPointerException. Box reads by index and by type agree only where
// box i of a frame has type i; the set does not enforce that.
class AnimSet : public virtual java::lang::Object {
  VM_CLASS(AnimSet, java::lang::Object)

 public:
  using Graphics = javax::microedition::lcdui::Graphics;
  using Stream = java::io::DataInputStream;
  using Ints = VMArray<int32_t>;
  using Chars = VMArray<char16_t>;
  using Boxes = VMArray<graphics::CollisionBox>;
  using Gobs = VMArray<Gob>;
  using Frames = VMArray<Frame>;

  // Reads resource `id` (through Resources::getStream); a missing pack or
  // resource throws as the pack does.
  static VMPtr<AnimSet> load(int32_t id);
  // Reads a set from `in`, its id set to `id`.
  static VMPtr<AnimSet> load(int32_t id, VMPtr<Stream> in);

  virtual int32_t getFrameCount();
  virtual int32_t getStepCount(int32_t anim);
  virtual VMPtr<Frame> getFrame(int32_t frame);
  // 0 for an index outside the animations.
  virtual int32_t getDuration(int32_t anim);
  virtual int32_t getBoxes(int32_t frame, int32_t transform, VMPtr<Ints> out);
  virtual int32_t getBoxes(int32_t frame, int32_t transform, VMPtr<Boxes> out);
  // Four ints per part while they fit (sprite, dx, dy, transform); the
  // frame's part count.
  virtual int32_t getParts(int32_t frame, int32_t transform, VMPtr<Ints> out);
  virtual int32_t getAnimationCount();
  // {x, y, width, height} of the frame's sprites; mirror bits only.
  virtual void getFrameBounds(int32_t frame, int32_t transform, VMPtr<Ints> out);
  virtual int32_t getPartCount(int32_t frame);
  virtual void setGobs(VMPtr<Gobs> g) { gobs = g; }
  // Boxes of the type (all for a negative type) while `out` has room; the
  // axis swap is applied.
  virtual int32_t getBoxes(int32_t frame, int32_t transform, VMPtr<Boxes> out, int32_t type);
  // Five ints per box while they fit; mirror bits only.
  virtual int32_t getBoxes(int32_t frame, int32_t transform, VMPtr<Ints> out, int32_t type);
  // A set sharing every table, with its own sprites and empty caches.
  virtual VMPtr<AnimSet> copy(VMPtr<Gobs> g);
  virtual int32_t getBoxCount(int32_t frame);
  virtual int32_t getId() { return id; }
  virtual VMPtr<Gobs> getGobs() { return VMPtr<Gobs>(gobs); }
  // Draws each part through its shared sprite, whose offsets are moved by
  // the part's for its own drawing only (and put back if it throws).
  virtual void paintFrame(VMPtr<Graphics> g, int32_t frame, int32_t x, int32_t y, int32_t transform);
  virtual void getAnimationBounds(int32_t anim, int32_t transform, VMPtr<Ints> out);
  virtual VMPtr<Frame> getAnimationFrame(int32_t anim);
  // A new player on this set playing `anim` (an invalid number throws as
  // AnimPlayer::setAnimation does).
  virtual VMPtr<AnimPlayer> createPlayer(int32_t anim);
  // Box number `boxIndex` of the frame into out[0], decoded as the typed
  // query does: 1; 0 with `out` untouched when the index or `out` does not
  // fit.
  virtual int32_t getCollisionBox(int32_t frame, int32_t transform, VMPtr<Boxes> out, int32_t boxIndex);

  void _VM_markReferences(int colour) override;
  static void _VM_clinit();

  VMField<Ints> animations;
  VMField<Ints> durationCache;
  VMField<VMArray<int8_t>> stepBytes;
  VMField<Ints> steps;
  VMField<Ints> frames;
  VMField<Chars> frameBoxStart;
  VMField<Ints> parts;
  VMField<Ints> boxes;
  VMField<Chars> boxExtras;
  VMField<Chars> durations;
  int32_t id;
  VMField<Gobs> gobs;
  VMField<Frames> animationFrames;
  VMField<Frames> frameCache;

  // The stream of the load in progress (null otherwise) and the bounds
  // scratch of the frame caches.
  static VMStatic<Stream> stream;
  static VMStatic<Ints> scratch;

 private:
  void read();
  // Box `box` of the tables into `out` under the transform, axis swap
  // included.
  void decodeBox(int32_t box, int32_t transform, VMPtr<graphics::CollisionBox> out);
  int32_t firstBox(int32_t frame) { return VMPtr<Chars>(frameBoxStart)->at(frame); }
};

}  // namespace tq
