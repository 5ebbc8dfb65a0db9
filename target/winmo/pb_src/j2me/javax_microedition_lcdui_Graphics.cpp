#include "javax_microedition_lcdui_Graphics.h"

#include <algorithm>
#include <bit>

#include "HALFont.h"
#include "HALGraphics.h"
#include "HALImage.h"
#include "HALScreen.h"
#include "HALTransform.h"
#include "RasterContext.h"
#include "RasterImage.h"
#include "RasterSurface.h"
#include "VMServices.h"
#include "VMThrow.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_IllegalStateException.h"
#include "java_lang_StringIndexOutOfBoundsException.h"

VM_REGISTER_CLASS(javax::microedition::lcdui::Graphics, "javax.microedition.lcdui.Graphics",
                  "java.lang.Object", 0);

namespace javax::microedition::lcdui {

namespace {

constexpr int32_t kHorizontal = Graphics::HCENTER | Graphics::LEFT | Graphics::RIGHT;
constexpr int32_t kVertical = Graphics::VCENTER | Graphics::TOP | Graphics::BOTTOM | Graphics::BASELINE;
// What drawRegion's transform may hold: a MIDP transform and an alpha type
// from 0 to 3 that replaces the source's.
constexpr int32_t kDrawRegionFlags = HAL_TRANSFORM_BITS | (3 << HAL_BLIT_ALPHA_TYPE_SHIFT);

[[noreturn]] void illegalArgument() { _VM_throwNew<java::lang::IllegalArgumentException>(); }

// An anchor is 0, TOP|LEFT, or one horizontal and one vertical part
// without the `disallowed` bit.
bool validAnchor(int32_t anchor, int32_t disallowed) {
  if (anchor == 0 || anchor == (Graphics::TOP | Graphics::LEFT)) return true;
  if (anchor < 1 || anchor > 127 || (anchor & disallowed) != 0) return false;
  return std::popcount(static_cast<uint32_t>(anchor & kHorizontal)) == 1 &&
         std::popcount(static_cast<uint32_t>(anchor & kVertical)) == 1;
}

// Moves (x, y) from the anchor point of a width x height box (sides
// swapped by the axis-swapping transforms) to its top-left corner. False
// for an anchor that names no corner, centre or edge of a box.
bool placeBox(int32_t width, int32_t height, int32_t transform, int32_t anchor, int32_t& x, int32_t& y) {
  if (anchor == 0 || anchor == (Graphics::TOP | Graphics::LEFT)) return true;
  if (HAL_transformSwapsAxes(transform)) std::swap(width, height);
  switch (anchor & kHorizontal) {
    case Graphics::HCENTER: x -= width >> 1; break;
    case Graphics::RIGHT: x -= width; break;
    case Graphics::LEFT: break;
    default: return false;
  }
  switch (anchor & kVertical) {
    case Graphics::VCENTER: y -= height >> 1; break;
    case Graphics::BOTTOM: y -= height; break;
    case Graphics::TOP: break;
    default: return false;
  }
  return true;
}

// A translated coordinate held to 0..limit: the clip's corners never leave
// the target, however large the translation and the arguments are.
int32_t clampToTarget(int64_t value, int32_t limit) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, 0, limit));
}

// Ranges of MIDP's offset/length pairs: inside 0..available.
bool validRange(int32_t offset, int32_t length, int32_t available) {
  return offset >= 0 && length >= 0 && int64_t{offset} + length <= available;
}

// Holds a rounded corner's size inside half the rectangle; true when both
// sides are left, so the corners are drawn round.
bool roundCorners(int32_t width, int32_t height, int32_t& arcWidth, int32_t& arcHeight) {
  arcWidth = std::max(0, std::min(arcWidth, width >> 1));
  arcHeight = std::max(0, std::min(arcHeight, height >> 1));
  return arcWidth != 0 && arcHeight != 0;
}

void screenResized(void* owner, int32_t width, int32_t height) {
  static_cast<Graphics*>(owner)->setSize(width, height);
}

}  // namespace

VMPtr<Graphics> Graphics::create(VMPtr<Image> image) {
  if (!image) _VM_throwNullPointerException();
  VMPtr<Graphics> g = _VM_new();
  g->Object::_VM_init();
  if (HAL_createGraphicsWithImage(&g->context, image->nativeImage()) != HAL_OK) {
    _VM_fatalError("HAL_createGraphicsWithImage() failed.");
  }
  g->target = image;
  g->setSize(image->width, image->height);
  g->reset(false);
  return g;
}

VMPtr<Graphics> Graphics::create(HALScreen* screen) {
  VMPtr<Graphics> g = _VM_new();
  g->Object::_VM_init();
  if (HAL_createGraphicsWithScreenBuffer(&g->context, screen) != HAL_OK) {
    _VM_fatalError("HAL_createGraphicsWithScreenBuffer() failed.");
  }
  static_cast<HALScreenContext*>(g->context)->setResizeHook(screenResized, g.get());
  int32_t width = 0;
  int32_t height = 0;
  if (HAL_getScreenBufferSize(screen, &width, &height) != HAL_OK) {
    _VM_fatalError("HAL_getScreenBufferSize() failed.");
  }
  g->setSize(width, height);
  g->reset(false);
  return g;
}

VMPtr<Graphics> Graphics::createOver(RasterContext* context, int32_t width, int32_t height) {
  VMPtr<Graphics> g;
  try {
    g = _VM_new();
  } catch (...) {
    HAL_deleteGraphics(context);  // handed over: freed even when no Graphics came of it
    throw;
  }
  g->Object::_VM_init();
  g->context = context;
  g->setSize(width, height);
  g->reset(false);
  return g;
}

Graphics::~Graphics() { HAL_deleteGraphics(context); }

void Graphics::releaseContext() {
  HAL_deleteGraphics(context);
  context = nullptr;
}

void Graphics::_VM_markReferences(int colour) {
  _VM_mark(font, colour);
  _VM_mark(target, colour);
  Object::_VM_markReferences(colour);
}

void Graphics::setSize(int32_t width, int32_t height) {
  maxWidth = width & 0x7FFF;
  maxHeight = height & 0x7FFF;
  translateX = 0;
  translateY = 0;
  setClip(0, 0, width, height);
}

void Graphics::reset(bool push) {
  font = Font::getDefaultFont();
  greyValid = 1;
  grey = 0;
  alpha = 255;
  strokeStyle = SOLID;
  colour = 0;
  drawMode = 0;
  if (push && context != nullptr) {
    context->setFont(font->nativeFont());
    context->setStrokeStyle(SOLID);
    context->setColour(0xFF000000u);
  }
}

void Graphics::pushColour() {
  if (context != nullptr) context->setColour(static_cast<uint32_t>(colour) | uint32_t(alpha) << 24);
}

void Graphics::translate(int32_t x, int32_t y) {
  translateX += x;
  translateY += y;
}

int32_t Graphics::getGrayScale() {
  if (!greyValid) {
    grey = (getGreenComponent() * 150 + getRedComponent() * 76 + getBlueComponent() * 29) >> 8;
    greyValid = 1;
  }
  return grey;
}

void Graphics::setColor(int32_t rgb) {
  rgb &= 0xFFFFFF;
  if (rgb == colour) return;
  colour = rgb;
  greyValid = 0;
  pushColour();
}

void Graphics::setColor(int32_t red, int32_t green, int32_t blue) {
  if ((red | green | blue) < 0 || red > 255 || green > 255 || blue > 255) illegalArgument();
  colour = red << 16 | green << 8 | blue;
  greyValid = 0;
  pushColour();
}

void Graphics::setGrayScale(int32_t value) {
  if (value < 0 || value > 255) illegalArgument();
  if (greyValid && grey == value) return;
  colour = value * 0x010101;
  grey = value;
  greyValid = 1;
  pushColour();
}

void Graphics::setARGBColor(int32_t argb) {
  const int32_t rgb = argb & 0xFFFFFF;
  const auto a = static_cast<int32_t>(static_cast<uint32_t>(argb) >> 24);
  if (rgb == colour && a == alpha) return;
  if (rgb != colour) greyValid = 0;
  colour = rgb;
  alpha = a;
  pushColour();
}

void Graphics::setARGBColor(int32_t a, int32_t red, int32_t green, int32_t blue) {
  if ((a | red | green | blue) < 0 || a > 255 || red > 255 || green > 255 || blue > 255) {
    illegalArgument();
  }
  setARGBColor(static_cast<int32_t>(uint32_t(a) << 24 | uint32_t(red) << 16 | uint32_t(green) << 8 |
                                    uint32_t(blue)));
}

void Graphics::setAlpha(int32_t a) {
  if (a < 0 || a > 255) illegalArgument();
  if (a == alpha) return;
  alpha = a;
  pushColour();
}

void Graphics::setFont(VMPtr<Font> f) {
  if (!f) f = Font::getDefaultFont();
  font = f;
  if (context != nullptr) context->setFont(f->nativeFont());
}

void Graphics::setStrokeStyle(int32_t style) {
  if (style != SOLID && style != DOTTED) illegalArgument();
  strokeStyle = style;
  if (context != nullptr) context->setStrokeStyle(style);
}

void Graphics::setDrawMode(int32_t mode, int32_t) {
  if (mode != 0 && (mode != 1 || !target || !target->hasAlpha())) illegalArgument();
  drawMode = mode;
}

void Graphics::emptyClip() {
  clipX1 = clipY1 = clipX2 = clipY2 = 0;
  clipChanged = 1;
  if (context != nullptr) context->setClip(0, 0, 0, 0);
}

void Graphics::setClip(int32_t x, int32_t y, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return emptyClip();
  const int64_t left = int64_t{translateX} + x;
  const int64_t top = int64_t{translateY} + y;
  if (left >= maxWidth || top >= maxHeight) return emptyClip();
  clipX1 = clampToTarget(left, maxWidth);
  clipY1 = clampToTarget(top, maxHeight);
  clipX2 = clampToTarget(left + width, maxWidth);
  clipY2 = clampToTarget(top + height, maxHeight);
  clipChanged = !(clipX1 == 0 && clipY1 == 0 && clipX2 == maxWidth && clipY2 == maxHeight);
  if (context != nullptr) context->setClip(clipX1, clipY1, clipX2 - clipX1, clipY2 - clipY1);
}

void Graphics::clipRect(int32_t x, int32_t y, int32_t width, int32_t height) {
  if (width < 1 || height < 1) return emptyClip();
  const int64_t left = int64_t{translateX} + x;
  const int64_t top = int64_t{translateY} + y;
  if (clipX2 < left || clipY2 < top) return emptyClip();
  const int32_t ax = clampToTarget(left, maxWidth);
  const int32_t ay = clampToTarget(top, maxHeight);
  const int32_t ex = clampToTarget(left + width, maxWidth);
  const int32_t ey = clampToTarget(top + height, maxHeight);
  const int32_t x1 = std::max(clipX1, ax);
  const int32_t y1 = std::max(clipY1, ay);
  if (ex < x1 || ey < y1) return emptyClip();
  const int32_t x2 = std::max(x1, std::min(clipX2, ex));
  const int32_t y2 = std::max(y1, std::min(clipY2, ey));
  if (x1 != clipX1 || y1 != clipY1 || x2 != clipX2 || y2 != clipY2) clipChanged = 1;
  clipX1 = x1;
  clipY1 = y1;
  clipX2 = x2;
  clipY2 = y2;
  if (context != nullptr) context->setClip(x1, y1, x2 - x1, y2 - y1);
}

void Graphics::drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (context != nullptr) context->drawLine(translateX + x1, translateY + y1, translateX + x2, translateY + y2);
}

void Graphics::fillRect(int32_t x, int32_t y, int32_t width, int32_t height) {
  if (context == nullptr) return;
  if (drawMode == 1) {
    HAL_replaceRect(context, translateX + x, translateY + y, width, height);
  } else {
    context->fillRect(translateX + x, translateY + y, width, height);
  }
}

void Graphics::drawRect(int32_t x, int32_t y, int32_t width, int32_t height) {
  if (context != nullptr) context->drawRect(translateX + x, translateY + y, width, height);
}

void Graphics::drawRoundRect(int32_t x, int32_t y, int32_t width, int32_t height, int32_t arcWidth,
                             int32_t arcHeight) {
  if (!roundCorners(width, height, arcWidth, arcHeight)) return drawRect(x, y, width, height);
  if (context != nullptr) {
    context->drawRoundRect(translateX + x, translateY + y, width, height, arcWidth, arcHeight);
  }
}

void Graphics::fillRoundRect(int32_t x, int32_t y, int32_t width, int32_t height, int32_t arcWidth,
                             int32_t arcHeight) {
  if (!roundCorners(width, height, arcWidth, arcHeight)) return fillRect(x, y, width, height);
  if (context != nullptr) {
    context->fillRoundRect(translateX + x, translateY + y, width, height, arcWidth, arcHeight);
  }
}

void Graphics::fillArc(int32_t x, int32_t y, int32_t width, int32_t height, int32_t startAngle,
                       int32_t arcAngle) {
  if (context != nullptr) context->fillArc(translateX + x, translateY + y, width, height, startAngle, arcAngle);
}

void Graphics::drawArc(int32_t x, int32_t y, int32_t width, int32_t height, int32_t startAngle,
                       int32_t arcAngle) {
  if (context != nullptr) context->drawArc(translateX + x, translateY + y, width, height, startAngle, arcAngle);
}

void Graphics::fillTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) {
  if (context == nullptr) return;
  context->fillTriangle(translateX + x1, translateY + y1, translateX + x2, translateY + y2,
                        translateX + x3, translateY + y3);
}

void Graphics::fillGradientRect(int32_t x, int32_t y, int32_t width, int32_t height, int32_t c1,
                                int32_t c2, uint8_t horizontal) {
  if (context == nullptr) return;
  context->gradient(translateX + x, translateY + y, width, height, static_cast<uint32_t>(c1),
                    static_cast<uint32_t>(c2), horizontal != 0);
}

void Graphics::drawText(const char16_t* chars, int32_t count, int32_t x, int32_t y, int32_t anchor) {
  if (context == nullptr || count < 1) return;
  x += translateX;
  y += translateY;
  if ((anchor & LEFT) == 0) {
    const int32_t width = HAL_getTextWidth(font->nativeFont(), chars, count);
    if (anchor & RIGHT) {
      x -= width;
    } else if (anchor & HCENTER) {
      x -= width / 2;
    }
  }
  if ((anchor & TOP) == 0) {
    if (anchor & BASELINE) {
      y -= font->getBaselinePosition();
    } else if (anchor & BOTTOM) {
      y -= font->getHeight();
    }
  }
  HAL_drawText(context, chars, count, x, y);
}

void Graphics::drawString(VMPtr<java::lang::String> str, int32_t x, int32_t y, int32_t anchor) {
  if (!str) _VM_throwNullPointerException();
  if (anchor == 0) anchor = TOP | LEFT;
  if (!validAnchor(anchor, VCENTER)) illegalArgument();
  drawText(str->_VM_chars(), str->count, x, y, anchor);
}

void Graphics::drawSubstring(VMPtr<java::lang::String> str, int32_t offset, int32_t len, int32_t x,
                             int32_t y, int32_t anchor) {
  if (!str) _VM_throwNullPointerException();
  if (!validRange(offset, len, str->count)) _VM_throwNew<java::lang::StringIndexOutOfBoundsException>();
  drawText(str->_VM_chars() + offset, len, x, y, anchor);
}

void Graphics::drawChar(char16_t character, int32_t x, int32_t y, int32_t anchor) {
  drawText(&character, 1, x, y, anchor);
}

void Graphics::drawChars(VMPtr<VMArray<char16_t>> data, int32_t offset, int32_t length, int32_t x,
                         int32_t y, int32_t anchor) {
  if (!data) _VM_throwNullPointerException();
  if (!validRange(offset, length, data->length)) _VM_throwNew<java::lang::ArrayIndexOutOfBoundsException>();
  drawText(data->elements() + offset, length, x, y, anchor);
}

void Graphics::drawImage(VMPtr<Image> img, int32_t x, int32_t y, int32_t anchor) {
  if (!img) _VM_throwNullPointerException();
  if (!validAnchor(anchor, BASELINE) || !placeBox(img->width, img->height, 0, anchor, x, y)) {
    illegalArgument();
  }
  if (context == nullptr) return;
  RasterImage* image = img->nativeImage();
  if (drawMode == 1) {
    HAL_replaceBlit(context, translateX + x, translateY + y, image->width, image->height,
                    image->surface, 0, 0, 0);
  } else {
    context->drawImage(image, translateX + x, translateY + y);
  }
}

void Graphics::drawRegion(VMPtr<Image> src, int32_t xSrc, int32_t ySrc, int32_t width, int32_t height,
                          int32_t transform, int32_t xDest, int32_t yDest, int32_t anchor) {
  if (!src) _VM_throwNullPointerException();
  if ((transform & ~kDrawRegionFlags) != 0 || !validAnchor(anchor, BASELINE)) illegalArgument();
  if (!placeBox(width, height, transform, anchor, xDest, yDest)) illegalArgument();
  if (src.get() == target.get()) illegalArgument();
  if (xSrc < 0 || ySrc < 0 || width < 0 || height < 0 || int64_t{xSrc} + width > src->width ||
      int64_t{ySrc} + height > src->height) {
    illegalArgument();
  }
  if (context == nullptr) return;
  const RasterSurface* surface = src->nativeImage()->surface;
  if (drawMode == 1) {
    HAL_replaceBlit(context, translateX + xDest, translateY + yDest, width, height, surface, xSrc, ySrc,
                    transform);
  } else {
    context->blit(translateX + xDest, translateY + yDest, width, height, surface, xSrc, ySrc, transform);
  }
}

void Graphics::copyArea(int32_t xSrc, int32_t ySrc, int32_t width, int32_t height, int32_t xDest,
                        int32_t yDest, int32_t anchor) {
  if (!target) _VM_throwNew<java::lang::IllegalStateException>();
  const int64_t left = int64_t{translateX} + xSrc;
  const int64_t top = int64_t{translateY} + ySrc;
  if (width < 0 || height < 0 || left < 0 || top < 0 || left + width > maxWidth || top + height > maxHeight) {
    illegalArgument();
  }
  if (!validAnchor(anchor, BASELINE) || !placeBox(width, height, 0, anchor, xDest, yDest)) {
    illegalArgument();
  }
  if (context == nullptr) return;
  context->copyArea(static_cast<int32_t>(left), static_cast<int32_t>(top), width, height,
                    translateX + xDest, translateY + yDest);
}

void Graphics::drawRGB(VMPtr<VMArray<int32_t>> rgbData, int32_t offset, int32_t scanlength, int32_t x,
                       int32_t y, int32_t width, int32_t height, uint8_t processAlpha) {
  if (!rgbData) _VM_throwNullPointerException();
  const int64_t rows = height != 0 ? int64_t{height - 1} * scanlength : 0;
  const int64_t columns = width != 0 ? int64_t{width} - 1 : 0;
  const int64_t last = int64_t{offset} + (scanlength >= 0 ? rows : 0) + columns;
  const int64_t first = int64_t{offset} + (scanlength < 0 ? rows : 0);
  if (first < 0 || first >= rgbData->length || last < 0 || last >= rgbData->length) {
    _VM_throwNew<java::lang::ArrayIndexOutOfBoundsException>();
  }
  if (width < 1 || height < 1 || context == nullptr) return;
  if (drawMode != 1) {
    context->drawRGB(rgbData->elements(), rgbData->length, offset, scanlength, translateX + x,
                     translateY + y, width, height, processAlpha != 0);
    return;
  }
  RasterSurface* surface = RasterSurface::createFromARGB(rgbData->elements() + offset, width, height,
                                                         scanlength, processAlpha != 0);
  if (surface == nullptr) return;
  HAL_replaceBlit(context, translateX + x, translateY + y, width, height, surface, 0, 0, 0);
  delete surface;
}

int32_t Graphics::getDisplayColor(int32_t rgb) {
  if (context == nullptr) return -1;
  const uint32_t value = static_cast<uint32_t>(rgb);
  return context->converter != nullptr ? context->converter(value) : rasterPack565(value);
}

void Graphics::drawScreenBuffer(HALScreen* screen) {
  if (context == nullptr || screen == nullptr || screen->surface == nullptr) return;
  context->blit(translateX, translateY, screen->width, screen->height, screen->surface, 0, 0, 0);
}

}  // namespace javax::microedition::lcdui
