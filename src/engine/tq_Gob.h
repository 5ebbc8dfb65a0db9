#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_io_DataInputStream.h"
#include "javax_microedition_lcdui_Image.h"
#include "tq_Paintable.h"
#include "tq_graphics_CollisionBox.h"
#include "tq_graphics_RGBFilter.h"
#include "tq_graphics_Rect.h"

namespace tq {

// The engine's sprite ("graphic object"): an image of its own, drawn with
// its top-left corner at (x, y) from the drawing position under the
// transform bits of Paintable, with at most one collision rectangle or
// circle at (boxX, boxY) from (x, y). Kind 0.
//
// `drawMode` is the image's alpha class (1 opaque, 2 masked, 3
// translucent, 0 not classified), passed to drawRegion in bits 8-9 of the
// transform. A sprite of width or height below 1 has no image and draws
// nothing.
//
// Loading a sprite sheet (Resources::loadGobs): every Gob first holds the
// whole sheet (loadImage); each copies its region's pixels into the next
// row of the static pixel table (load); createImages then gives every Gob
// an image of its own from its row and drops the table. Animation sets draw
// their parts through the shared Gobs of a set, never copies.
class Gob : public Paintable {
  VM_CLASS(Gob, Paintable)

 public:
  using Image = javax::microedition::lcdui::Image;
  using Gobs = VMArray<Gob>;
  using Stream = java::io::DataInputStream;
  using Rect = graphics::Rect;
  using CollisionBox = graphics::CollisionBox;

  VMPtr<Gob> _VM_init();

  using Paintable::collides;
  using Paintable::getBoxes;
  using Paintable::paint;
  int32_t getKind() override { return 0; }
  int32_t getHeight(int32_t t) override { return height; }
  int32_t getWidth(int32_t t) override { return width; }
  void paint(VMPtr<Graphics> g, int32_t px, int32_t py, int32_t t) override;
  // The box into out[0] (when `out` has an element) under t; 1 when there
  // is a box. `type` is not used.
  int32_t getBoxes(int32_t t, VMPtr<Boxes> out, int32_t type) override;
  // {bx, by, boxWidth, boxHeight, -1} (mirror bits only) when `out` holds
  // five; 1 when there is a box.
  int32_t getBoxes(int32_t t, VMPtr<Ints> out, int32_t type) override;
  int32_t getBoxCount() override { return hasBox() ? 1 : 0; }
  int32_t getOffsetX(int32_t t) override { return (t & 2) != 0 ? -(width + x) : x; }
  int32_t getOffsetY(int32_t t) override { return (t & 1) != 0 ? -(height + y) : y; }

  // Not implemented: prints its notice and draws nothing.
  virtual void paintScaled(VMPtr<Graphics> g, int32_t px, int32_t py, int32_t w, int32_t h, int32_t t);
  // The box placed at (px, py) under t against the rectangle.
  virtual uint8_t intersects(int32_t px, int32_t py, int32_t t, int32_t rx, int32_t ry, int32_t rw, int32_t rh);
  virtual uint8_t collidesWith(int32_t px, int32_t py, int32_t t, VMPtr<Gob> other, int32_t ox, int32_t oy,
                               int32_t ot);
  virtual VMPtr<Gob> toAlphaImage(int32_t alpha);
  // A GobAlphaImage taking this sprite's geometry and image.
  virtual VMPtr<Gob> toGob();
  virtual int32_t isAlphaImage() { return 0; }
  virtual void paintBox(VMPtr<Graphics> g, int32_t px, int32_t py, int32_t t);
  virtual void setAlpha(int32_t alpha) {}
  virtual void applyFilter(VMPtr<graphics::RGBFilter> f) {}
  // As collidesWith, the other box grown by (dx, dy, dw, dh).
  virtual uint8_t collidesWith(int32_t px, int32_t py, int32_t t, VMPtr<Gob> other, int32_t ox, int32_t oy,
                               int32_t ot, int32_t dx, int32_t dy, int32_t dw, int32_t dh);
  // Draws with the clip narrowed by the insets (mirrored with t).
  virtual void paintClipped(VMPtr<Graphics> g, int32_t px, int32_t py, int32_t t, int32_t left, int32_t top,
                            int32_t right, int32_t bottom);
  // The box placed at (px, py) under t into `out` (type -1); whether it
  // has a size.
  virtual uint8_t writeBox(VMPtr<CollisionBox> out, int32_t px, int32_t py, int32_t t);
  virtual uint8_t intersects(VMPtr<Rect> r, int32_t px, int32_t py);
  virtual int32_t getAlpha() { return 255; }
  virtual void releaseImage(VMPtr<Gob> other) {}
  virtual void shareImage(VMPtr<Gob> other) { setImageOf(other); }
  virtual VMPtr<Gob> asGob() { return VMPtr<Gob>(this); }
  // other.image := image.
  virtual void setImageOf(VMPtr<Gob> other);
  // The geometry, box and draw mode; not the image.
  virtual void copyTo(VMPtr<Gob> other);
  // One sprite record of ten values; copies its region of the sheet held
  // in `image` into the next pixel row.
  virtual void load(VMPtr<VMArray<int16_t>> rec);

  bool hasBox() const { return boxWidth > 0 && boxHeight > 0; }

  // The sheet-loading steps, in the order the loader calls them.
  static void loadImage(VMPtr<Gobs> gobs, int32_t id, VMPtr<VMArray<int8_t>> palette, VMPtr<Stream> imageIn);
  static void resetPixelTable(VMPtr<Gobs> gobs);
  static void createImages(VMPtr<Gobs> gobs);
  static void dropPixelTable();
  // Replaces every sprite by its alpha image, unless the first already is.
  static void convertAll(VMPtr<Gobs> gobs);
  // A sprite over a new image of the pixels, its box the whole image.
  static VMPtr<Gob> create(VMPtr<VMArray<int32_t>> argb, int32_t w, int32_t h, uint8_t alpha);
  // Five-int box records, each pair (i outer) tested; on the first overlap
  // `out` (when not null) gets the overlap and both types and the search
  // stops; with `out` null every pair is tested.
  static uint8_t collides(int32_t na, VMPtr<Ints> a, int32_t nb, VMPtr<Ints> b, VMPtr<Ints> out);

  void _VM_markReferences(int colour) override;

  int16_t y;
  int16_t x;
  int16_t boxWidth;
  int16_t height;
  int8_t drawMode;
  int16_t boxX;
  int16_t boxY;
  int16_t boxHeight;
  int8_t circle;
  int16_t width;
  VMField<Image> image;

  static VMStatic<VMArray<int32_t, 2>> pixelTable;
  static int32_t pixelCount;
  static VMStatic<CollisionBox> drawBox;

 protected:
  // The drawRegion of paint, with the alpha class in bits 8-9.
  void drawImage(VMPtr<Graphics> g, int32_t px, int32_t py, int32_t t);
  bool isEmptyImage() const { return width <= 0 || height <= 0; }

 private:
  int32_t boxLeft(int32_t px, int32_t t) const;
  int32_t boxTop(int32_t py, int32_t t) const;
};

}  // namespace tq
