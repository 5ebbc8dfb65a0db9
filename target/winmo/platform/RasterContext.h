#pragma once

#include <cstdint>

#include "RasterRect.h"

class RasterImage;
class RasterPainter;
class RasterSurface;
struct HALFont;

// The native drawing context behind each Graphics: current colour, alpha,
// stroke style, clip and font, and every drawing operation into one target
// surface. Coordinates are absolute target pixels (the Graphics layer has
// applied its translation); anything outside the clip is never touched, and
// coordinates anywhere in the int range are safe.
//
// Ownership: a context over an image holds one reference to it and releases
// it when destroyed; a context over a bare surface (the screen buffer) does
// not own the surface, and its owner calls targetResized after reallocating
// it. Contexts are used only under the global VM lock.
//
// Alpha rules: fills and triangles draw nothing below alpha 8, blend with
// the 5-bit weight (alpha + 1) >> 3 up to 247 and are solid from 248. Lines,
// outlines and gradients are always solid. A target with an alpha plane is
// drawn over, alpha included (source-over, RasterPixels::over): solid
// pixels become opaque, blended ones composite with their alpha.
class RasterContext {
 public:
  uint16_t colour565 = 0;
  uint16_t (*converter)(uint32_t) = nullptr;  // the RGB565 packing rule
  int32_t alpha = 255;
  uint32_t argb = 0xFF000000u;
  int32_t strokeStyle = 0;  // 0 solid, anything else dotted
  RasterImage* image = nullptr;
  RasterSurface* target = nullptr;
  RasterRect clip;
  HALFont* font = nullptr;  // null: the default font

  // A context drawing into `image` (adds a reference). Null for a null
  // image or no memory.
  static RasterContext* create(RasterImage* image);
  // A context drawing into `target`, which it does not own. Null for a null
  // target or no memory.
  static RasterContext* create(RasterSurface* target);

  virtual ~RasterContext();
  RasterContext(const RasterContext&) = delete;
  RasterContext& operator=(const RasterContext&) = delete;

  // The target was reallocated: the clip becomes the whole target again.
  virtual void targetResized();

  void setColour(uint32_t argb);
  void setStrokeStyle(int32_t style) { strokeStyle = style; }
  void setFont(HALFont* f) { font = f; }
  // Clip = the whole target intersected with (x, y, w, h).
  void setClip(int32_t x, int32_t y, int32_t w, int32_t h);
  // Clip = the current clip intersected with (x, y, w, h).
  void clipRect(int32_t x, int32_t y, int32_t w, int32_t h);

  void fillRect(int32_t x, int32_t y, int32_t w, int32_t h);
  // Outline over columns x..x+w and rows y..y+h.
  void drawRect(int32_t x, int32_t y, int32_t w, int32_t h);
  void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void fillTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3);
  void drawArc(int32_t x, int32_t y, int32_t w, int32_t h, int32_t start, int32_t arcAngle);
  void fillArc(int32_t x, int32_t y, int32_t w, int32_t h, int32_t start, int32_t arcAngle);
  void drawRoundRect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t arcW, int32_t arcH);
  void fillRoundRect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t arcW, int32_t arcH);

  // Draws the w x h region of `src` at (srcX, srcY) at (dstX, dstY). Flags
  // (HALTransform.h) bits 0..2: 1 mirror rows, 2 mirror columns, 4 swap axes
  // (the MIDP transforms); bits 8..15, when non-zero, replace the source's
  // alpha type.
  // A source region reaching outside `src` draws nothing.
  void blit(int32_t dstX, int32_t dstY, int32_t w, int32_t h, const RasterSurface* src,
            int32_t srcX, int32_t srcY, int32_t flags);
  void copyArea(int32_t srcX, int32_t srcY, int32_t w, int32_t h, int32_t dstX, int32_t dstY);
  void drawImage(const RasterImage* img, int32_t x, int32_t y);
  // Converts w x h pixels of `argb` (`length` ints; the top row starts at
  // `offset`, rows `scanlength` apart) and blits them at (x, y). Draws
  // nothing when a row would reach outside the array or memory runs out.
  void drawRGB(const int32_t* argb, int32_t length, int32_t offset, int32_t scanlength,
               int32_t x, int32_t y, int32_t w, int32_t h, bool processAlpha);
  // Fills with colours running from c1 to c2 (0xRRGGBB) across the columns
  // (horizontal) or down the rows; always opaque.
  void gradient(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t c1, uint32_t c2,
                bool horizontal);

 protected:
  RasterContext(RasterImage* image, RasterSurface* target);

 private:
  RasterPainter painter();
};
