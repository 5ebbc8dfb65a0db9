#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "tq_AnimPlayer.h"
#include "tq_Paintable.h"
#include "tq_graphics_CollisionBox.h"
#include "ui_MyObject.h"

namespace ui {

// A screen object: numbered layers over an optional full-screen background
// and a list of filled rectangles. Each layer shows one drawable taken
// from the resource cache: image 0.. of a sprite set (an image layer), one
// frame of an animation set (a frame layer) or a playing animation (a
// player layer). The logo, the menu pages and the play scene's HUD are
// screens; the game objects extend it.
//
// Ownership: a layer holds one cache reference on each of its two slots
// (`gobSlots`, `animSetSlots`; -1 none) from the moment it is set until it
// is released, replaced or the screen is disposed. `clear` empties the
// tables without giving the references back (the scene change that calls
// it empties the cache as a whole).
//
// Layers 0 .. layerCount - 1 are painted (in index order, so a higher one
// covers a lower one) and ticked. An image or frame layer is placed by its
// `offsets` entry; a player layer by its player's position (its offsets
// stay (0, 0)). A finished animation moves on to the next animation number
// of its set when the set has one, else the layer holds its last step.
//
// Geometry (ui_Screen.geometry.cpp) answers in screen coordinates with new
// arrays or boxes: a rectangle as int[5] (x, y, width, height, fifth int),
// a box list as five ints per box. Layer indexes at or above the capacity
// give the documented defaults; the set operations, setLayerClip,
// releaseLayer and getLayerBoxRect need an index below it (the array
// access throws otherwise). Canvas thread only.
class Screen : public MyObject {
  VM_CLASS(Screen, MyObject)

 public:
  using Ints = VMArray<int32_t>;
  using Rows = VMArray<int32_t, 2>;
  using Paintables = VMArray<tq::Paintable>;
  using Players = VMArray<tq::AnimPlayer>;
  using CollisionBox = tq::graphics::CollisionBox;

  static constexpr int32_t kDefaultBackground = 0xE3CA83;
  // getLayerKind's numbers.
  static constexpr int32_t kImageLayer = 2;
  static constexpr int32_t kFrameLayer = 1;
  static constexpr int32_t kPlayerLayer = 0;
  static constexpr int32_t kNoLayer = -1;
  // The box type getLayerBoxRect reads.
  static constexpr int32_t kLayerBoxType = 2;

  // No layer tables yet (initLayers makes them); both background colours
  // 0xE3CA83, background off.
  VMPtr<Screen> _VM_init();

  // --- Lifecycle of a scene object --------------------------------------
  // Empties the tables and gives every layer's cache references back.
  void dispose() override;
  void pollInput() override {}
  // Advances the player layers by the current scene's frame time; a
  // finished animation n goes on to n + 1 when the set has it.
  void tick() override;
  // Background at the Graphics' origin, rectangles, then the layers, each
  // within its clip; the clip ends at (0, 0, 240, 320).
  void paint(VMPtr<Graphics> g) override;
  // Empties the tables without releasing cache references.
  void clear() override;

  // --- Layer tables ----------------------------------------------------
  // Capacity n: every layer empty, no slots, offsets (0, 0), clip
  // (0, 0, 240, 320). The layer count is kept.
  virtual void initLayers(int32_t n);
  // Ignored outside 0 .. layerCapacity.
  virtual void setLayerCount(int32_t n);
  virtual int32_t getLayerCount() { return layerCount; }
  virtual int32_t getLayerCapacity() { return layerCapacity; }

  // --- Setting layers (ids are resource ids) ---------------------------
  virtual void setImageLayer(int32_t layer, int32_t gobId);
  virtual void setFrameLayer(int32_t layer, int32_t gobId, int32_t animSetId, int32_t frame, int32_t x, int32_t y);
  virtual void setPlayerLayer(int32_t layer, int32_t gobId, int32_t animSetId, int32_t animation, int32_t x,
                              int32_t y);
  // The matching set operation on layer `layerCount`, then one more layer.
  virtual void addImageLayer(int32_t gobId);
  virtual void addFrameLayer(int32_t gobId, int32_t animSetId, int32_t frame, int32_t x, int32_t y);
  virtual void addPlayerLayer(int32_t gobId, int32_t animSetId, int32_t animation, int32_t x, int32_t y);
  // Another image, frame or animation of the layer's own sets; nothing
  // when the value is already set, the layer is empty or out of range.
  virtual void setLayerValue(int32_t layer, int32_t value);
  virtual void setLayerPosition(int32_t layer, int32_t x, int32_t y);
  // Player layers only.
  virtual void setLayerStep(int32_t layer, int32_t step);
  // clip[0..3]; a width or height of 0 paints the layer unclipped.
  virtual void setLayerClip(int32_t layer, VMPtr<Ints> clip);
  // Gives the layer's cache references back and empties it.
  virtual void releaseLayer(int32_t layer);

  // --- Background and rectangles ---------------------------------------
  virtual void setBackgroundColour(int32_t c);
  // Filled top to bottom as a vertical gradient when they differ.
  virtual void setBackgroundColours(int32_t top, int32_t bottom);
  virtual void setBackgroundEnabled(uint8_t on) { backgroundEnabled = on; }
  virtual void initRects(int32_t n);
  // A copy of `rect` (x, y, width, height) filled in `colour`.
  virtual void setRect(int32_t index, VMPtr<Ints> rect, int32_t colour);
  virtual void removeRect(int32_t index);

  // --- Per-layer accessors (empty or out of range: the defaults) -------
  // 2 image, 1 frame, 0 player, -1 none.
  virtual int32_t getLayerKind(int32_t layer);
  // Frame or animation number; -1 for image and empty layers.
  virtual int32_t getLayerValue(int32_t layer);
  virtual int32_t getLayerX(int32_t layer);
  virtual int32_t getLayerY(int32_t layer);
  // The player's step; -1 otherwise.
  virtual int32_t getLayerStep(int32_t layer);
  virtual int32_t getLayerStepInfo(int32_t layer);
  virtual int32_t getLayerWidth(int32_t layer);
  virtual int32_t getLayerHeight(int32_t layer);
  virtual int32_t getLayerBoxCount(int32_t layer);

  // --- Geometry and hit tests ------------------------------------------
  // The rectangle of the first box of `boxType` (an image layer: image 0's
  // box with its offsets), in screen coordinates; zeros when none.
  virtual VMPtr<Ints> getLayerRect(int32_t layer, int32_t boxType);
  // The first box of type 2, moved by the layer's offsets only (a player's
  // position is not added); zeros for image and empty layers.
  virtual VMPtr<Ints> getLayerBoxRect(int32_t layer);
  // Every box of the current frame or step, five ints each, in screen
  // coordinates (an image layer: image 0's box without its offsets).
  virtual VMPtr<Ints> getLayerBoxes(int32_t layer);
  // Box number `boxIndex` in screen coordinates (an image layer: image 0's
  // box, any index); an empty box when there is none.
  virtual VMPtr<CollisionBox> getCollisionBox(int32_t layer, int32_t boxIndex);
  // rect (x, y, width, height) wholly inside box `boxIndex`; with a width
  // or height of 0 the point (x, y) inside it.
  virtual uint8_t hitTest(int32_t layer, int32_t boxIndex, VMPtr<Ints> rect);
  virtual uint8_t hitTestBox(int32_t layer, int32_t boxIndex, VMPtr<CollisionBox> box);

  void _VM_markReferences(int colour) override;

  VMField<Ints> savedClip;
  VMField<Rows> clips;
  VMField<Ints> gobSlots;
  VMField<Players> players;
  int32_t backgroundTop;
  int32_t layerCount;
  int32_t layerCapacity;
  uint8_t backgroundEnabled;
  VMField<Ints> layerValues;
  VMField<Ints> animSetSlots;
  VMField<Paintables> drawables;
  int32_t backgroundBottom;
  VMField<Rows> offsets;
  VMField<Rows> rects;
  VMField<Ints> rectColours;

 protected:
  // The layer's drawable when the layer is below the capacity and not
  // empty, else null.
  VMPtr<tq::Paintable> layerDrawable(int32_t layer);
  // Image 0 of the layer's sprite set.
  VMPtr<tq::Gob> firstImage(int32_t layer);
  VMPtr<tq::AnimSet> layerAnimSet(int32_t layer);

 private:
  // Releases the layer, takes one reference on each id and keeps the slots.
  void takeSets(int32_t layer, int32_t gobId, int32_t animSetId);
  void setOffsets(int32_t layer, int32_t x, int32_t y);
  // Empties the tables; with `release`, gives each slot's reference back.
  void emptyTables(bool release);
  void paintBackground(VMPtr<Graphics> g);
  void paintRects(VMPtr<Graphics> g);
  void paintLayer(VMPtr<Graphics> g, int32_t layer);
  // The first box of `boxType` of a frame or player layer (`kind` as
  // getLayerKind gives it), moved by the layer's offsets and, when
  // `placed`, by the player's position; zeros when there is none.
  VMPtr<Ints> animationRect(int32_t layer, int32_t kind, int32_t boxType, bool placed);
  uint8_t hitTestRect(int32_t layer, int32_t boxIndex, int32_t x, int32_t y, int32_t w, int32_t h);
  // The elapsed time of the frame: the current scene's frame time.
  int32_t sceneFrameTime();
};

}  // namespace ui
