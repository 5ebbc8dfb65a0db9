#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_String.h"
#include "javax_microedition_lcdui_Font.h"
#include "javax_microedition_lcdui_Image.h"

class RasterContext;
struct HALScreen;

namespace javax::microedition::lcdui {

// The MIDP drawing context, drawing into a mutable Image or into a game
// canvas's screen buffer. It keeps the MIDP state (translation, clip,
// colour, alpha, font, stroke style, draw mode), checks arguments and
// anchors, adds the translation, and hands each request to its native
// RasterContext, whose clip always mirrors the clip kept here.
//
// Ownership: the Graphics owns its context and destroys it in its
// destructor (which drops the context's reference to the target image).
// The target Image is also held as a field, so it outlives its Graphics.
//
// Beyond MIDP 2.0: ARGB colour and alpha, a gradient fill, and a draw mode.
// Mode 0 draws over the target; mode 1 (only for an image with an alpha
// channel) makes fills and image drawing replace the target's colour and
// alpha, so a fill with ARGB 0 leaves transparent pixels.
class Graphics : public virtual java::lang::Object {
  VM_CLASS(Graphics, java::lang::Object)

 public:
  static constexpr int32_t HCENTER = 1;
  static constexpr int32_t VCENTER = 2;
  static constexpr int32_t LEFT = 4;
  static constexpr int32_t RIGHT = 8;
  static constexpr int32_t TOP = 16;
  static constexpr int32_t BOTTOM = 32;
  static constexpr int32_t BASELINE = 64;
  static constexpr int32_t SOLID = 0;
  static constexpr int32_t DOTTED = 1;

  // A Graphics over a mutable image (Image.getGraphics).
  static VMPtr<Graphics> create(VMPtr<Image> image);
  // A Graphics over a screen buffer (GameCanvas.getGraphics). It follows
  // the buffer's size when the buffer is reallocated.
  static VMPtr<Graphics> create(HALScreen* screen);

  // A Graphics over a context the platform hands over with a paint event:
  // it takes ownership, and the target is w x h.
  static VMPtr<Graphics> createOver(RasterContext* context, int32_t width, int32_t height);

  // Target size w x h: translation (0, 0) and the clip the whole target.
  void setSize(int32_t width, int32_t height);
  // Back to the initial state; with `push` the context gets the font, the
  // stroke style and opaque black too.
  void reset(bool push);
  // Draws the screen buffer's surface at the translation (GameCanvas.paint).
  void drawScreenBuffer(HALScreen* screen);
  // Destroys the native context early (GameCanvas destruction); the
  // Graphics draws nothing afterwards.
  void releaseContext();

  virtual void translate(int32_t x, int32_t y);
  virtual int32_t getTranslateX() { return translateX; }
  virtual int32_t getTranslateY() { return translateY; }
  virtual int32_t getColor() { return colour; }
  virtual int32_t getRedComponent() { return (colour >> 16) & 0xFF; }
  virtual int32_t getGreenComponent() { return (colour >> 8) & 0xFF; }
  virtual int32_t getBlueComponent() { return colour & 0xFF; }
  virtual int32_t getGrayScale();
  virtual void setColor(int32_t rgb);
  virtual void setColor(int32_t red, int32_t green, int32_t blue);
  virtual void setGrayScale(int32_t value);
  virtual VMPtr<Font> getFont() { return VMPtr<Font>(font); }
  virtual void setFont(VMPtr<Font> font);
  virtual int32_t getStrokeStyle() { return strokeStyle; }
  virtual void setStrokeStyle(int32_t style);
  virtual int32_t getClipX() { return clipX1 - translateX; }
  virtual int32_t getClipY() { return clipY1 - translateY; }
  virtual int32_t getClipWidth() { return clipX2 - clipX1; }
  virtual int32_t getClipHeight() { return clipY2 - clipY1; }
  virtual void clipRect(int32_t x, int32_t y, int32_t width, int32_t height);
  virtual void setClip(int32_t x, int32_t y, int32_t width, int32_t height);
  virtual void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  virtual void fillRect(int32_t x, int32_t y, int32_t width, int32_t height);
  virtual void drawRect(int32_t x, int32_t y, int32_t width, int32_t height);
  virtual void drawRoundRect(int32_t x, int32_t y, int32_t width, int32_t height, int32_t arcWidth,
                             int32_t arcHeight);
  virtual void fillRoundRect(int32_t x, int32_t y, int32_t width, int32_t height, int32_t arcWidth,
                             int32_t arcHeight);
  virtual void fillArc(int32_t x, int32_t y, int32_t width, int32_t height, int32_t startAngle,
                       int32_t arcAngle);
  virtual void drawArc(int32_t x, int32_t y, int32_t width, int32_t height, int32_t startAngle,
                       int32_t arcAngle);
  virtual void drawString(VMPtr<java::lang::String> str, int32_t x, int32_t y, int32_t anchor);
  virtual void drawSubstring(VMPtr<java::lang::String> str, int32_t offset, int32_t len, int32_t x,
                             int32_t y, int32_t anchor);
  virtual void drawChar(char16_t character, int32_t x, int32_t y, int32_t anchor);
  virtual void drawChars(VMPtr<VMArray<char16_t>> data, int32_t offset, int32_t length, int32_t x,
                         int32_t y, int32_t anchor);
  virtual void drawImage(VMPtr<Image> img, int32_t x, int32_t y, int32_t anchor);
  virtual void drawRegion(VMPtr<Image> src, int32_t xSrc, int32_t ySrc, int32_t width, int32_t height,
                          int32_t transform, int32_t xDest, int32_t yDest, int32_t anchor);
  virtual void copyArea(int32_t xSrc, int32_t ySrc, int32_t width, int32_t height, int32_t xDest,
                        int32_t yDest, int32_t anchor);
  virtual void fillTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3);
  virtual void drawRGB(VMPtr<VMArray<int32_t>> rgbData, int32_t offset, int32_t scanlength, int32_t x,
                       int32_t y, int32_t width, int32_t height, uint8_t processAlpha);
  virtual int32_t getDisplayColor(int32_t colour);
  virtual int32_t getARGBColor() { return colour | (alpha << 24); }
  virtual void setARGBColor(int32_t alpha, int32_t red, int32_t green, int32_t blue);
  virtual void setARGBColor(int32_t argb);
  virtual int32_t getAlpha() { return alpha; }
  virtual void setAlpha(int32_t alpha);
  virtual int32_t getDrawMode() { return drawMode; }
  // 0, or 1 for an image with an alpha channel; IllegalArgumentException
  // otherwise. The flag is not used.
  virtual void setDrawMode(int32_t mode, int32_t flag = 0);
  // A gradient from colour c1 to c2 (0xRRGGBB) along the width
  // (horizontal) or the height; always opaque.
  virtual void fillGradientRect(int32_t x, int32_t y, int32_t width, int32_t height, int32_t c1,
                                int32_t c2, uint8_t horizontal);
  // The engine's drawing transform, which this platform does not have.
  virtual void setGraphicsTransform(int32_t a, int32_t b, int32_t c, float d, float e) {}

  ~Graphics() override;
  void _VM_markReferences(int colour) override;

  int32_t clipX1;
  int32_t clipY1;
  int32_t clipX2;
  int32_t clipY2;
  uint8_t clipChanged;
  int32_t maxWidth;
  int32_t maxHeight;
  int32_t translateX;
  int32_t translateY;
  int32_t colour;  // 0x00RRGGBB
  int32_t alpha;
  int32_t grey;
  uint8_t greyValid;
  int32_t strokeStyle;
  VMField<Font> font;
  int32_t drawMode;
  RasterContext* context;
  VMField<Image> target;

 private:
  void pushColour();
  void emptyClip();
  void drawText(const char16_t* chars, int32_t count, int32_t x, int32_t y, int32_t anchor);
};

}  // namespace javax::microedition::lcdui
