#include "HALGraphics.h"

#include "CeFont.h"
#include "HALFont.h"
#include "HALTransform.h"
#include "RasterContext.h"
#include "RasterImage.h"
#include "RasterPixels.h"
#include "RasterSurface.h"

namespace {

// The blit flag that takes the source as opaque whatever its alpha type.
constexpr int32_t kAsOpaque = RasterSurface::kOpaque << 8;

// A scratch surface text is drawn on, with a context of its own. It grows
// to the largest text box asked for and lives until the process ends.
struct Scratch {
  int32_t alphaType;
  RasterSurface* surface = nullptr;
  RasterContext* context = nullptr;

  // True when the scratch is at least width x height.
  bool reserve(int32_t width, int32_t height) {
    width = (width + 3) & ~3;
    if (surface != nullptr && surface->width >= width && surface->height >= height) return true;
    const int32_t w = surface != nullptr && surface->width > width ? surface->width : width;
    const int32_t h = surface != nullptr && surface->height > height ? surface->height : height;
    if (surface == nullptr) {
      surface = RasterSurface::create(w, h, alphaType);
      context = surface != nullptr ? RasterContext::create(surface) : nullptr;
      if (context == nullptr) {
        delete surface;
        surface = nullptr;
        return false;
      }
      return true;
    }
    if (!surface->resize(w, h)) return false;
    context->targetResized();
    return true;
  }
};

Scratch& scratch() {
  static Scratch instance{RasterSurface::kOpaque};
  return instance;
}

// The text colour with the glyphs' coverage as its alpha plane, for
// targets with an alpha plane.
Scratch& coverageScratch() {
  static Scratch instance{RasterSurface::kAlphaPlane};
  return instance;
}

// Text on a target with an alpha plane changes only the pixels its glyphs
// cover: the glyphs are drawn white on black in the scratch, where each
// pixel's green level is its coverage, and the text colour is drawn over
// the target with that coverage as its alpha (and the context's alpha).
void drawTextOver(RasterContext* context, HALFont* font, const char16_t* text, int32_t count,
                  int32_t x, int32_t y, const RasterRect& box) {
  Scratch& s = scratch();
  Scratch& covered = coverageScratch();
  if (!s.reserve(box.width, box.height) || !covered.reserve(box.width, box.height)) return;
  RasterPixels::fillRows(s.surface->pixels, s.surface->stride, box.width, box.height, 0);
  const CeFont::Target target{s.surface->pixels, box.width, box.height, s.surface->stride, false};
  font->font->draw(target, text, count, 0xFFFFFF, x - box.x, y - box.y);
  for (int32_t row = 0; row < box.height; ++row) {
    const uint16_t* level = s.surface->pixelAddress(0, row);
    uint16_t* colour = covered.surface->pixelAddress(0, row);
    uint8_t* alpha = covered.surface->alphaAddress(0, row);
    for (int32_t column = 0; column < box.width; ++column) {
      colour[column] = context->colour565;
      alpha[column] = static_cast<uint8_t>((((level[column] >> 5) & 0x3F) * 255 + 31) / 63);
    }
  }
  context->blit(box.x, box.y, box.width, box.height, covered.surface, 0, 0, 0);
}

// The source pixel's colour and alpha under the effective alpha type.
void readPixel(const RasterSurface& src, int32_t alphaType, int32_t x, int32_t y, uint16_t& colour,
               uint8_t& alpha) {
  colour = *src.pixelAddress(x, y);
  if (alphaType == RasterSurface::kMasked) {
    alpha = colour == RasterSurface::kKeyColour ? 0 : 255;
  } else if (alphaType == RasterSurface::kAlphaPlane && src.alphaType == RasterSurface::kAlphaPlane) {
    alpha = *src.alphaAddress(x, y);
  } else {
    alpha = 255;
  }
}

// Replaces the target pixel's colour and alpha as far as its alpha type
// can hold them.
void writePixel(RasterSurface& dst, int32_t x, int32_t y, uint16_t colour, uint8_t alpha) {
  if (dst.alphaType == RasterSurface::kMasked) {
    *dst.pixelAddress(x, y) = alpha < 128 ? RasterSurface::kKeyColour : colour;
    return;
  }
  *dst.pixelAddress(x, y) = colour;
  if (dst.alphaType == RasterSurface::kAlphaPlane) *dst.alphaAddress(x, y) = alpha;
}

}  // namespace

HALStatus HAL_createGraphicsWithImage(RasterContext** out, RasterImage* image) {
  if (out == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = nullptr;
  if (image == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *out = RasterContext::create(image);
  return *out != nullptr ? HAL_OK : HAL_OUT_OF_MEMORY_ERR;
}

void HAL_deleteGraphics(RasterContext* context) { delete context; }

void HAL_drawText(RasterContext* context, const char16_t* text, int32_t count, int32_t x, int32_t y) {
  if (context == nullptr || text == nullptr || count < 1) return;
  HALFont* font = context->font;
  if (font == nullptr && HAL_getFont(&font, 0, 0, 0) != HAL_OK) return;
  const int32_t width = HAL_getTextWidth(font, text, count);
  const int32_t height = font->height;
  if (width < 1 || height < 1) return;
  RasterRect box{x, y, width, height};
  if (!box.intersect(context->clip)) return;
  if (context->target->alphaType == RasterSurface::kAlphaPlane) {
    return drawTextOver(context, font, text, count, x, y, box);
  }
  // The scratch holds the visible part of the text box: the target's pixels
  // there are copied in, the text drawn over them from its own corner, and
  // the part drawn back under the context's clip and alpha. The scratch is
  // therefore never larger than the target, however long the text.
  Scratch& s = scratch();
  if (!s.reserve(box.width, box.height)) return;
  s.context->blit(0, 0, box.width, box.height, context->target, box.x, box.y, kAsOpaque);
  const CeFont::Target target{s.surface->pixels, box.width, box.height, s.surface->stride, false};
  font->font->draw(target, text, count, context->argb & 0xFFFFFF, x - box.x, y - box.y);
  context->blit(box.x, box.y, box.width, box.height, s.surface, 0, 0, kAsOpaque);
}

void HAL_replaceRect(RasterContext* context, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (context == nullptr) return;
  RasterRect box{x, y, width, height};
  if (!box.intersect(context->clip)) return;
  const auto alpha = static_cast<uint8_t>(context->alpha);
  for (int32_t row = box.y; row < box.y + box.height; ++row) {
    for (int32_t column = box.x; column < box.x + box.width; ++column) {
      writePixel(*context->target, column, row, context->colour565, alpha);
    }
  }
}

void HAL_replaceBlit(RasterContext* context, int32_t dstX, int32_t dstY, int32_t width, int32_t height,
                     const RasterSurface* source, int32_t srcX, int32_t srcY, int32_t flags) {
  if (context == nullptr || source == nullptr || width < 1 || height < 1 || srcX < 0 || srcY < 0 ||
      int64_t{srcX} + width > source->width || int64_t{srcY} + height > source->height) {
    return;
  }
  const bool swap = HAL_transformSwapsAxes(flags);
  const bool mirrorRows = HAL_transformMirrorsRows(flags);
  const bool mirrorColumns = HAL_transformMirrorsColumns(flags);
  const int32_t replacedType = (flags >> HAL_BLIT_ALPHA_TYPE_SHIFT) & HAL_BLIT_ALPHA_TYPE_MASK;
  const int32_t alphaType = replacedType ? replacedType : source->alphaType;
  RasterRect box{dstX, dstY, swap ? height : width, swap ? width : height};
  if (!box.intersect(context->clip)) return;
  const int32_t global = context->alpha;
  for (int32_t dy = box.y; dy < box.y + box.height; ++dy) {
    for (int32_t dx = box.x; dx < box.x + box.width; ++dx) {
      const int32_t u = dx - dstX;  // offsets inside the destination box
      const int32_t v = dy - dstY;
      int32_t column = swap ? v : u;
      int32_t row = swap ? u : v;
      if (mirrorColumns) column = width - 1 - column;
      if (mirrorRows) row = height - 1 - row;
      uint16_t colour = 0;
      uint8_t alpha = 0;
      readPixel(*source, alphaType, srcX + column, srcY + row, colour, alpha);
      if (global < 255) alpha = static_cast<uint8_t>((alpha * global + 127) / 255);
      writePixel(*context->target, dx, dy, colour, alpha);
    }
  }
}
