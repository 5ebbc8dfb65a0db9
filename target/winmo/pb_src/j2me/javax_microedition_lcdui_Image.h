#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_String.h"

class RasterImage;

namespace javax::microedition::lcdui {

class Graphics;

// An image: mutable (a drawing target, made blank) or immutable (decoded
// from PNG bytes or a resource file, built from ARGB pixels, or taken from
// another image). Each Image holds one reference to its native RasterImage
// handle and drops it in its destructor, which the collector runs; a
// Graphics drawing into a mutable image holds another. An immutable image
// never changes: one taken from a mutable image is a copy of its pixels.
//
// Exceptions follow MIDP 2.0; a platform failure other than bad data or
// memory ends the program with the HAL function's message.
class Image : public virtual java::lang::Object {
  VM_CLASS(Image, java::lang::Object)

 public:
  // A mutable white image; IllegalArgumentException for a side below 1.
  static VMPtr<Image> createImage(int32_t width, int32_t height);
  // An immutable image of `source`: shared when it is immutable, a copy
  // of its pixels when it is mutable.
  static VMPtr<Image> createImage(VMPtr<Image> source);
  // An immutable image from a resource file (the name resolved like a
  // resource of this class); IOException when it is missing or not an image.
  static VMPtr<Image> createImage(VMPtr<java::lang::String> name);
  // An immutable image decoded from `length` bytes of `data` at `offset`;
  // IllegalArgumentException when they are not an image.
  static VMPtr<Image> createImage(VMPtr<VMArray<int8_t>> data, int32_t offset, int32_t length);
  static VMPtr<Image> createRGBImage(VMPtr<VMArray<int32_t>> rgb, int32_t width, int32_t height,
                                    uint8_t processAlpha);
  // The engine's mutable-image factory: an opaque image filled with
  // `colour` at full alpha, or a fully transparent one. A side below 1 is
  // IllegalArgumentException.
  static VMPtr<Image> createMutableImage(int32_t width, int32_t height, uint8_t transparent,
                                         int32_t colour);

  // A new Graphics over a mutable image; IllegalStateException otherwise.
  virtual VMPtr<Graphics> getGraphics();
  virtual int32_t getWidth() { return width; }
  virtual int32_t getHeight() { return height; }
  virtual uint8_t isMutable() { return mutable_; }
  virtual void getRGB(VMPtr<VMArray<int32_t>> rgbData, int32_t offset, int32_t scanlength,
                      int32_t x, int32_t y, int32_t width, int32_t height);
  // Whether the image has transparent pixels; asked once and remembered.
  virtual uint8_t hasAlpha();

  RasterImage* nativeImage() const { return handle; }

  ~Image() override;

  int32_t width;
  int32_t height;
  uint8_t mutable_;
  uint8_t alphaCached;
  uint8_t alphaValue;
  RasterImage* handle;
};

}  // namespace javax::microedition::lcdui
