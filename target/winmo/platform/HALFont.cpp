#include "HALFont.h"

#include <array>
#include <memory>
#include <new>
#include <string>

#include "CeFont.h"

namespace {

constexpr int kFaces = 3;
constexpr int kSizes = 3;
constexpr int kStyles = 8;  // every combination of bold, italic, underlined

struct Slot {
  std::unique_ptr<CeFont> font;
  HALFont record{};
};
using Cache = std::array<Slot, kFaces * kSizes * kStyles>;

Cache* cache = nullptr;

int faceIndex(int32_t face) { return face == 32 ? 1 : face == 64 ? 2 : 0; }
int sizeIndex(int32_t size) { return size == 0 ? 1 : size == 16 ? 2 : 0; }
int32_t points(int32_t size) { return size == 0 ? 9 : size == 16 ? 12 : 7; }

std::unique_ptr<CeFont> makeFont(int32_t face, int32_t style, int32_t size) {
  CeFont::Description d;
  d.faceName = face == 32 ? u"Courier New" : u"Tahoma";
  if (style & 1) d.faceName += u" Bold";
  d.italic = (style & 2) != 0;
  d.underline = (style & 4) != 0;
  d.height = points(size) * kFontDotsPerInch / 72;
  return CeFont::create(d);
}

}  // namespace

HALStatus HAL_initFontCache() {
  if (cache == nullptr) cache = new (std::nothrow) Cache();
  return cache != nullptr ? HAL_OK : HAL_OUT_OF_MEMORY_ERR;
}

void HAL_freeFontCache() {
  delete cache;
  cache = nullptr;
}

HALStatus HAL_getFont(HALFont** font, int32_t face, int32_t style, int32_t size) {
  if (font == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *font = nullptr;
  if (HAL_initFontCache() != HAL_OK) return HAL_ILLEGAL_ARGUMENT_ERR;
  Slot& slot = (*cache)[(faceIndex(face) * kSizes + sizeIndex(size)) * kStyles + (style & 7)];
  if (!slot.font) {
    slot.font = makeFont(face, style, size);
    if (!slot.font) return HAL_ILLEGAL_ARGUMENT_ERR;
    const CeFont::Metrics& m = slot.font->metrics();
    slot.record = HALFont{slot.font.get(), m.height + m.externalLeading, m.ascent};
  }
  *font = &slot.record;
  return HAL_OK;
}

int32_t HAL_getTextWidth(HALFont* font, const char16_t* text, int32_t count) {
  if (font == nullptr || font->font == nullptr || text == nullptr || count < 1) return 0;
  return font->font->measure(text, count);
}
