#include "tq_util_text_RichFont.h"

#include "VMJava.h"
#include "tq_GobAlphaImage.h"
#include "tq_TqCanvas.h"

VM_REGISTER_CLASS(tq::util::text::RichFont, "tq.util.text.RichFont", "java.lang.Object",
                  VM_INSTANTIABLE | VM_HAS_CLINIT);

namespace tq::util::text {

using javax::microedition::lcdui::Font;

VMStatic<VMArray<int8_t>> RichFont::fontTable;
VMStatic<VMArray<char16_t>> RichFont::charBuffer;
VMStatic<java::lang::StringBuffer> RichFont::numberBuffer;

namespace {

constexpr int32_t kHcenter = 1;
constexpr int32_t kRight = 8;
constexpr int32_t kBottom = 32;
constexpr int32_t kBaseline = 64;
constexpr int32_t kTopLeft = 20;

// Metric slots of the first seven glyphs.
enum Metric { kHeight, kBaselineMetric, kMissingAdvance, kMarker, kLineHeight, kExtraSpacing, kAnchorRule };
constexpr int32_t kUnprepared = 255;

// Face, style and size of the six system fonts: small, medium and large,
// plain then bold.
constexpr int8_t kFontCodes[6] = {8, 0, 16, 9, 1, 17};

int32_t codeOf(Gob* glyph) { return glyph->boxX & 0xFFFF; }

}  // namespace

void RichFont::_VM_clinit() {
  VMPtr<VMArray<int8_t>> table = VMArray<int8_t>::create(6);
  for (int32_t i = 0; i < 6; ++i) table->at(i) = kFontCodes[i];
  fontTable = table;
}

VMPtr<RichFont> RichFont::_VM_init() {
  Base::_VM_init();
  font = Font::getFont(Font::FACE_SYSTEM, Font::STYLE_PLAIN, Font::SIZE_MEDIUM);
  systemFontIndex = 1;
  return VMPtr<RichFont>(this);
}

VMPtr<RichFont> RichFont::_VM_init(VMPtr<RichFont> other) {
  _VM_init();
  if (!other->hasGlyphs()) {
    setSystemFont(other->systemFontIndex);
    if (other->colorSet) setColor(other->color);
  } else {
    setGlyphs(other->getGlyphs());
    setUnusedProperty(other->getUnusedProperty());
  }
  return VMPtr<RichFont>(this);
}

void RichFont::_VM_markReferences(int colour) {
  _VM_mark(glyphs, colour);
  _VM_mark(glyphMap, colour);
  _VM_mark(font, colour);
  Base::_VM_markReferences(colour);
}

// --- The shared char buffer ---------------------------------------------

VMPtr<VMArray<char16_t>> RichFont::ensureCharBuffer(int32_t n) {
  _VM_clinitCheck();
  VMPtr<Chars> buffer = charBuffer;
  if (!buffer || buffer->length < n) {
    buffer = Chars::create(n);
    charBuffer = buffer;
  }
  return buffer;
}

VMPtr<VMArray<char16_t>> RichFont::copyToCharBuffer(VMPtr<String> s, int32_t off, int32_t len) {
  VMPtr<Chars> buffer = ensureCharBuffer(len);
  s->getChars(off, off + len, buffer, 0);
  return buffer;
}

VMPtr<VMArray<char16_t>> RichFont::copyToCharBuffer(VMPtr<StringBuffer> sb, int32_t off, int32_t len) {
  VMPtr<Chars> buffer = ensureCharBuffer(len);
  sb->getChars(off, off + len, buffer, 0);
  return buffer;
}

VMPtr<VMArray<char16_t>> RichFont::copyToCharBuffer(char16_t c) {
  VMPtr<Chars> buffer = ensureCharBuffer(1);
  buffer->at(0) = c;
  return buffer;
}

// --- Mode and glyphs ------------------------------------------------------

void RichFont::setGlyphs(VMPtr<Gobs> set) {
  glyphs = set;
  if (set && set->get(kMarker)->boxHeight == kUnprepared) prepare(set);
}

void RichFont::prepare(VMPtr<Gobs> set) {
  set->get(kMarker)->boxHeight = 0;
  int16_t code = 0;
  for (int32_t i = 0; i < set->length; ++i) {
    VMPtr<Gob> glyph = set->get(i);
    code = static_cast<int16_t>(code + glyph->x * 256 + (glyph->y & 0xFF));
    glyph->x = glyph->boxX;
    glyph->y = glyph->boxY;
    glyph->boxX = code;
  }
}

void RichFont::setSystemFont(int32_t index) {
  _VM_clinitCheck();
  glyphs = nullptr;
  if (index == systemFontIndex) return;
  systemFontIndex = index;
  const int32_t code = VMPtr<VMArray<int8_t>>(fontTable)->at(index);
  const int32_t face = code & 0x60;
  VMPtr<Font> f = Font::getFont(face, code & 0x07, code & 0x18);
  for (int32_t other : {Font::FACE_SYSTEM, Font::FACE_MONOSPACE, Font::FACE_PROPORTIONAL}) {
    if (f) break;
    if (other != face) f = Font::getFont(other, code & 0x07, code & 0x18);
  }
  font = f;
}

VMPtr<Gob> RichFont::getGlyph(char16_t c) {
  VMPtr<Gobs> set = glyphs;
  if (!set) return VMPtr<Gob>();
  VMPtr<IntHashtable> map = glyphMap;
  if (map) {
    VMPtr<java::lang::Object> mapped = map->get(c);
    if (auto* glyph = dynamic_cast<Gob*>(mapped.get())) return VMPtr<Gob>(glyph);
  }
  int32_t lo = 0;
  int32_t hi = set->length - 1;
  while (lo <= hi) {
    const int32_t mid = (lo + hi) >> 1;
    Gob* glyph = set->get(mid).get();
    const int32_t code = codeOf(glyph);
    if (code < c) {
      lo = mid + 1;
    } else if (code > c) {
      hi = mid - 1;
    } else {
      return VMPtr<Gob>(glyph);
    }
  }
  return VMPtr<Gob>();
}

void RichFont::addGlyph(int32_t code, VMPtr<Gob> glyph) {
  if (!glyphMap) {
    VMPtr<IntHashtable> map = IntHashtable::_VM_new();
    glyphMap = map->_VM_init(128);
  }
  VMPtr<IntHashtable>(glyphMap)->put(code, glyph);
}

void RichFont::setAlpha(int32_t alpha) {
  VMPtr<Gobs> set = glyphs;
  if (!set || set->get(0)->getAlpha() == alpha) return;
  for (int32_t i = 0; i < set->length; ++i) {
    VMPtr<Gob> glyph = set->get(i);
    if (glyph->isAlphaImage() == 0) set->set(i, glyph->toGob());
  }
  for (int32_t i = 0; i < set->length; ++i) set->get(i)->setAlpha(alpha);
}

int32_t RichFont::getAlpha() {
  VMPtr<Gobs> set = glyphs;
  return set ? set->get(0)->getAlpha() : 255;
}

void RichFont::setColor(int32_t rgb) {
  color = rgb & 0x00FFFFFF;
  colorSet = 1;
}

// --- Metrics ----------------------------------------------------------------

int32_t RichFont::metric(int32_t i) { return VMPtr<Gobs>(glyphs)->get(i)->boxHeight; }

uint8_t RichFont::alignsByAdvance() { return hasGlyphs() && metric(kAnchorRule) != 0; }

int32_t RichFont::getHeight() {
  if (hasGlyphs()) return metric(kHeight);
  return font ? VMPtr<Font>(font)->getHeight() : 0;
}

int32_t RichFont::getBaselinePosition() {
  if (hasGlyphs()) return metric(kBaselineMetric);
  return font ? VMPtr<Font>(font)->getBaselinePosition() : 0;
}

int32_t RichFont::getLineHeight() {
  if (hasGlyphs()) return metric(kLineHeight);
  return font ? getHeight() : 0;
}

int32_t RichFont::getExtraSpacing() { return hasGlyphs() ? metric(kExtraSpacing) : 0; }

int32_t RichFont::getCharAscent(char16_t c) {
  VMPtr<Gob> glyph = getGlyph(c);
  return glyph ? getBaselinePosition() - glyph->y : 0;
}

int32_t RichFont::getCharDescent(char16_t c) {
  VMPtr<Gob> glyph = getGlyph(c);
  if (!glyph) return 0;
  const int32_t below = glyph->height - (getBaselinePosition() - glyph->y);
  return below > 0 ? below : 0;
}

// --- Ink measurements ---------------------------------------------------------

int32_t RichFont::leftBearing(VMPtr<Chars> ch, int32_t off) {
  if (!hasGlyphs() || off >= ch->length) return 0;
  VMPtr<Gob> glyph = getGlyph(ch->at(off));
  return glyph ? glyph->x : 0;
}

int32_t RichFont::inkWidth(VMPtr<Chars> ch, int32_t off, int32_t len, int32_t bearing) {
  if (!hasGlyphs()) return charsWidth(ch, off, len);
  const int32_t missing = metric(kMissingAdvance);
  int32_t pen = 0;
  int32_t right = 0;
  for (int32_t i = off; i < off + len; ++i) {
    VMPtr<Gob> glyph = getGlyph(ch->at(i));
    if (!glyph) {
      pen += missing;
      continue;
    }
    right = pen + glyph->x + glyph->width;
    pen += glyph->boxWidth;
  }
  return bearing < 0 ? right - bearing : right;
}

int32_t RichFont::inkTop(VMPtr<Chars> ch, int32_t off, int32_t len) {
  if (!hasGlyphs()) return 0;
  bool any = false;
  int32_t top = 0;
  for (int32_t i = off; i < off + len; ++i) {
    VMPtr<Gob> glyph = getGlyph(ch->at(i));
    if (glyph && (!any || glyph->y < top)) top = glyph->y;
    any = any || glyph;
  }
  return top;
}

int32_t RichFont::inkHeight(VMPtr<Chars> ch, int32_t off, int32_t len, int32_t top) {
  if (!hasGlyphs()) return font ? VMPtr<Font>(font)->getHeight() : 0;
  int32_t bottom = 0;
  for (int32_t i = off; i < off + len; ++i) {
    VMPtr<Gob> glyph = getGlyph(ch->at(i));
    if (glyph && glyph->y + glyph->height > bottom) bottom = glyph->y + glyph->height;
  }
  return bottom - top;
}

// --- Heights ------------------------------------------------------------------

int32_t RichFont::charsHeight(VMPtr<Chars> ch, int32_t off, int32_t len) {
  int32_t top = 0;
  if (tightHeightOnce) {
    tightHeightOnce = 0;
    top = inkTop(ch, off, len);
  }
  return inkHeight(ch, off, len, top);
}

int32_t RichFont::substringHeight(VMPtr<String> s, int32_t off, int32_t len) {
  return charsHeight(copyToCharBuffer(s, off, len), 0, len);
}

int32_t RichFont::stringHeight(VMPtr<String> s) { return substringHeight(s, 0, s->length()); }

int32_t RichFont::charHeight(char16_t c) { return charsHeight(copyToCharBuffer(c), 0, 1); }

int32_t RichFont::stringBufferHeight(VMPtr<StringBuffer> sb) {
  const int32_t len = sb->length();
  return charsHeight(copyToCharBuffer(sb, 0, len), 0, len);
}

// --- Widths -------------------------------------------------------------------

int32_t RichFont::charsWidth(VMPtr<Chars> ch, int32_t off, int32_t len) {
  if (!hasGlyphs()) {
    if (len == 0 || !font) return 0;
    return VMPtr<Font>(font)->charsWidth(ch, off, len);
  }
  const int32_t missing = metric(kMissingAdvance);
  int32_t width = 0;
  for (int32_t i = off; i < off + len; ++i) {
    VMPtr<Gob> glyph = getGlyph(ch->at(i));
    width += glyph ? glyph->boxWidth : missing;
  }
  return width;
}

int32_t RichFont::stringBufferWidth(VMPtr<StringBuffer> sb) {
  const int32_t len = sb->length();
  return charsWidth(copyToCharBuffer(sb, 0, len), 0, len);
}

int32_t RichFont::substringWidth(VMPtr<String> s, int32_t off, int32_t len) {
  return charsWidth(copyToCharBuffer(s, off, len), 0, len);
}

int32_t RichFont::charWidth(char16_t c) { return charsWidth(copyToCharBuffer(c), 0, 1); }

int32_t RichFont::stringWidth(VMPtr<String> s) { return substringWidth(s, 0, s->length()); }

// --- Bounds -------------------------------------------------------------------

int32_t RichFont::lineTop(int32_t y, int32_t anchor) {
  if ((anchor & kBaseline) != 0) return y - getBaselinePosition();
  if ((anchor & kBottom) != 0) return y - getHeight();
  return y;
}

void RichFont::getCharsBounds(VMPtr<Chars> ch, int32_t off, int32_t len, int32_t x, int32_t y, VMPtr<Ints> box,
                              int32_t anchor) {
  const int32_t b = leftBearing(ch, off);
  const int32_t w = inkWidth(ch, off, len, b);
  const int32_t t = inkTop(ch, off, len);
  const int32_t h = inkHeight(ch, off, len, t);
  int32_t bx = x + b;
  const int32_t by = lineTop(y + t, anchor);
  if ((anchor & (kHcenter | kRight)) != 0) bx -= w >> (anchor & kHcenter);
  box->at(0) = bx;
  box->at(1) = by;
  box->at(2) = w;
  box->at(3) = h;
}

void RichFont::getStringBounds(VMPtr<String> s, int32_t x, int32_t y, VMPtr<Ints> box, int32_t anchor) {
  getSubstringBounds(s, 0, s->length(), x, y, box, anchor);
}

void RichFont::getSubstringBounds(VMPtr<String> s, int32_t off, int32_t len, int32_t x, int32_t y, VMPtr<Ints> box,
                                  int32_t anchor) {
  getCharsBounds(copyToCharBuffer(s, off, len), 0, len, x, y, box, anchor);
}

void RichFont::getStringBufferBounds(VMPtr<StringBuffer> sb, int32_t x, int32_t y, VMPtr<Ints> box,
                                     int32_t anchor) {
  const int32_t len = sb->length();
  getCharsBounds(copyToCharBuffer(sb, 0, len), 0, len, x, y, box, anchor);
}

void RichFont::getCharBounds(char16_t c, int32_t x, int32_t y, VMPtr<Ints> box, int32_t anchor) {
  getCharsBounds(copyToCharBuffer(c), 0, 1, x, y, box, anchor);
}

// --- Drawing ------------------------------------------------------------------

void RichFont::drawChars(VMPtr<Graphics> g, VMPtr<Chars> ch, int32_t off, int32_t len, int32_t x, int32_t y,
                         int32_t anchor) {
  y = lineTop(y, anchor);
  if ((anchor & (kHcenter | kRight)) != 0) {
    const int32_t b = leftBearing(ch, off);
    const int32_t w = alignsByAdvance() ? charsWidth(ch, off, len) : inkWidth(ch, off, len, b);
    x -= w >> (anchor & kHcenter);
  }
  if (hasGlyphs()) {
    drawGlyphs(g, ch, off, len, x, y);
  } else {
    drawSystem(g, ch, off, len, x, y);
  }
}

void RichFont::drawGlyphs(VMPtr<Graphics> g, VMPtr<Chars> ch, int32_t off, int32_t len, int32_t x, int32_t y) {
  const int32_t missing = metric(kMissingAdvance);
  for (int32_t i = off; i < off + len; ++i) {
    VMPtr<Gob> glyph = getGlyph(ch->at(i));
    if (!glyph) {
      x += missing;
      continue;
    }
    glyph->paint(g, x, y, 0);
    x += glyph->boxWidth;
  }
}

void RichFont::drawSystem(VMPtr<Graphics> g, VMPtr<Chars> ch, int32_t off, int32_t len, int32_t x, int32_t y) {
  VMPtr<Font> f = font;
  if (len == 0 || !f) return;
  if (g->getFont().get() != f.get()) g->setFont(f);
  const int32_t saved = colorSet ? g->getColor() & 0x00FFFFFF : 0;
  const bool swap = colorSet && saved != color;
  if (swap) g->setColor(color);
  g->drawChars(ch, off, len, x, y, kTopLeft);
  if (swap) g->setColor(saved);
}

void RichFont::drawString(VMPtr<Graphics> g, VMPtr<String> s, int32_t x, int32_t y, int32_t anchor) {
  drawSubstring(g, s, 0, s->length(), x, y, anchor);
}

void RichFont::drawStringBuffer(VMPtr<Graphics> g, VMPtr<StringBuffer> sb, int32_t x, int32_t y, int32_t anchor) {
  const int32_t len = sb->length();
  drawChars(g, copyToCharBuffer(sb, 0, len), 0, len, x, y, anchor);
}

void RichFont::drawSubstring(VMPtr<Graphics> g, VMPtr<String> s, int32_t off, int32_t len, int32_t x, int32_t y,
                             int32_t anchor) {
  drawChars(g, copyToCharBuffer(s, off, len), 0, len, x, y, anchor);
}

void RichFont::drawChar(VMPtr<Graphics> g, char16_t c, int32_t x, int32_t y, int32_t anchor) {
  drawChars(g, copyToCharBuffer(c), 0, 1, x, y, anchor);
}

void RichFont::drawNumber(VMPtr<Graphics> g, int32_t value, int32_t minDigits, int32_t x, int32_t y,
                          int32_t anchor) {
  _VM_clinitCheck();
  VMPtr<StringBuffer> sb = numberBuffer;
  if (sb) {
    sb->setLength(0);
  } else {
    VMPtr<StringBuffer> made = StringBuffer::_VM_new();
    sb = made->_VM_init(8);
    numberBuffer = sb;
  }
  TqCanvas::insertNumber(sb, value, minDigits, 0);
  drawStringBuffer(g, sb, x, y, anchor);
}

}  // namespace tq::util::text
