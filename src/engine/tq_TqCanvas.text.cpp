// The canvas's text: its font, with forwards of the font's measuring and
// drawing operations, and the text table.
#include "java_lang_Exception.h"
#include "tq_Resources.h"
#include "tq_TqCanvas.h"

namespace tq {

using java::lang::Exception;
using java::lang::String;
using java::lang::StringBuffer;
using util::text::RichFont;

void TqCanvas::markText(int colour) {
  _VM_mark(richFont, colour);
  _VM_mark(textStrings, colour);
  _VM_mark(textBytes, colour);
  _VM_mark(textOffsets, colour);
}

// --- The canvas font ------------------------------------------------------

VMPtr<RichFont> TqCanvas::getRichFont() {
  if (!richFont) {
    VMPtr<RichFont> made = RichFont::_VM_new();
    made->_VM_init();
    if (!richFont) richFont = made;
  }
  return VMPtr<RichFont>(richFont);
}

void TqCanvas::setFontGlyphs(VMPtr<VMArray<Gob>> set) { getRichFont()->setGlyphs(set); }

VMPtr<VMArray<Gob>> TqCanvas::getFontGlyphs() { return getRichFont()->getGlyphs(); }

void TqCanvas::setFontUnusedProperty(int32_t v) { getRichFont()->setUnusedProperty(v); }

int32_t TqCanvas::getFontUnusedProperty() { return getRichFont()->getUnusedProperty(); }

void TqCanvas::setSystemFont(int32_t index) { getRichFont()->setSystemFont(index); }

int32_t TqCanvas::getSystemFontIndex() { return getRichFont()->getSystemFontIndex(); }

int32_t TqCanvas::getFontBaseline() { return getRichFont()->getBaselinePosition(); }

int32_t TqCanvas::getFontHeight() { return getRichFont()->getHeight(); }

int32_t TqCanvas::charTightHeight(char16_t c) {
  VMPtr<RichFont> f = getRichFont();
  f->setTightHeightOnce(1);
  return f->charHeight(c);
}

int32_t TqCanvas::stringTightHeight(VMPtr<String> s) { return substringTightHeight(s, 0, s->length()); }

int32_t TqCanvas::substringTightHeight(VMPtr<String> s, int32_t off, int32_t len) {
  VMPtr<RichFont> f = getRichFont();
  f->setTightHeightOnce(1);
  return f->substringHeight(s, off, len);
}

int32_t TqCanvas::stringBufferTightHeight(VMPtr<StringBuffer> sb) {
  VMPtr<RichFont> f = getRichFont();
  f->setTightHeightOnce(1);
  return f->stringBufferHeight(sb);
}

int32_t TqCanvas::charsTightHeight(VMPtr<VMArray<char16_t>> ch, int32_t off, int32_t len) {
  VMPtr<RichFont> f = getRichFont();
  f->setTightHeightOnce(1);
  return f->charsHeight(ch, off, len);
}

int32_t TqCanvas::stringBufferWidth(VMPtr<StringBuffer> sb) { return getRichFont()->stringBufferWidth(sb); }

int32_t TqCanvas::stringWidth(VMPtr<String> s) { return substringWidth(s, 0, s->length()); }

int32_t TqCanvas::substringWidth(VMPtr<String> s, int32_t off, int32_t len) {
  return getRichFont()->substringWidth(s, off, len);
}

int32_t TqCanvas::charWidth(char16_t c) { return getRichFont()->charWidth(c); }

int32_t TqCanvas::charsWidth(VMPtr<VMArray<char16_t>> ch, int32_t off, int32_t len) {
  return getRichFont()->charsWidth(ch, off, len);
}

VMPtr<Gob> TqCanvas::getGlyph(int32_t code) { return getRichFont()->getGlyph(static_cast<char16_t>(code)); }

void TqCanvas::getStringBounds(VMPtr<String> s, int32_t x, int32_t y, VMPtr<VMArray<int32_t>> box, int32_t anchor) {
  getRichFont()->getStringBounds(s, x, y, box, anchor);
}

void TqCanvas::getStringBufferBounds(VMPtr<StringBuffer> sb, int32_t x, int32_t y, VMPtr<VMArray<int32_t>> box,
                                     int32_t anchor) {
  getRichFont()->getStringBufferBounds(sb, x, y, box, anchor);
}

void TqCanvas::drawString(VMPtr<Graphics> g, VMPtr<String> s, int32_t x, int32_t y, int32_t anchor) {
  getRichFont()->drawString(g, s, x, y, anchor);
}

void TqCanvas::drawSubstring(VMPtr<Graphics> g, VMPtr<String> s, int32_t off, int32_t len, int32_t x, int32_t y,
                             int32_t anchor) {
  getRichFont()->drawSubstring(g, s, off, len, x, y, anchor);
}

void TqCanvas::drawStringBuffer(VMPtr<Graphics> g, VMPtr<StringBuffer> sb, int32_t x, int32_t y, int32_t anchor) {
  getRichFont()->drawStringBuffer(g, sb, x, y, anchor);
}

void TqCanvas::drawChar(VMPtr<Graphics> g, char16_t c, int32_t x, int32_t y, int32_t anchor) {
  getRichFont()->drawChar(g, c, x, y, anchor);
}

void TqCanvas::drawChars(VMPtr<Graphics> g, VMPtr<VMArray<char16_t>> ch, int32_t off, int32_t len, int32_t x,
                         int32_t y, int32_t anchor) {
  getRichFont()->drawChars(g, ch, off, len, x, y, anchor);
}

void TqCanvas::drawNumber(VMPtr<Graphics> g, int32_t value, int32_t minDigits, int32_t x, int32_t y,
                          int32_t anchor) {
  getRichFont()->drawNumber(g, value, minDigits, x, y, anchor);
}

// --- The text table ---------------------------------------------------------

void TqCanvas::loadTexts(int32_t resourceId) {
  textStrings = nullptr;
  textBytes = nullptr;
  textOffsets = nullptr;
  if (resourceId == -1) return;
  try {
    VMPtr<java::io::DataInputStream> in = Resources::getStream(resourceId);
    const int32_t size = Resources::getSize(resourceId);
    int32_t n = in->readShort();
    if (n < 0) n = 0;
    VMPtr<VMArray<char16_t>> offsets = VMArray<char16_t>::create(n + 1);
    textOffsets = offsets;
    const int32_t poolSize = size - 2 * (n + 1);
    VMPtr<VMArray<int8_t>> bytes = VMArray<int8_t>::create(poolSize > 0 ? poolSize : 0);
    textBytes = bytes;
    int32_t offset = 0;
    for (int32_t i = 0; i < n; ++i) {
      offsets->at(i) = static_cast<char16_t>(offset);
      const int32_t len = in->readShort();
      if (len <= 0) continue;
      in->readFully(bytes, offset, len);
      offset = (offset + len) & 0xFFFF;
    }
    offsets->at(n) = static_cast<char16_t>(offset);
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
  }
  decodeTexts();
}

VMPtr<String> TqCanvas::getText(int32_t index) {
  VMPtr<VMArray<String>> strings = textStrings;
  if (strings) return strings->get(index);
  try {
    VMPtr<VMArray<char16_t>> offsets = textOffsets;
    const int32_t start = offsets->at(index);
    return decodeUtf8(textBytes, start, offsets->at(index + 1) - start);
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
    return VMPtr<String>();
  }
}

void TqCanvas::decodeTexts() {
  if (!textBytes || !textOffsets) return;
  const int32_t n = VMPtr<VMArray<char16_t>>(textOffsets)->length - 1;
  VMPtr<VMArray<String>> strings = VMArray<String>::create(n);
  for (int32_t i = 0; i < n; ++i) strings->set(i, getText(i));
  textStrings = strings;
  textBytes = nullptr;
  textOffsets = nullptr;
}

VMPtr<String> TqCanvas::decodeUtf8(VMPtr<VMArray<int8_t>> b, int32_t offset, int32_t length) {
  VMPtr<VMArray<char16_t>> chars = VMArray<char16_t>::create(length > 0 ? length : 0);
  int32_t filled = 0;
  for (int32_t i = 0; i < length;) {
    const int32_t lead = b->at(offset + i) & 0xFF;
    const int32_t n = lead < 0x80 ? 1 : lead < 0xC0 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 0;
    if (n == 0) {  // starts no sequence: skipped
      ++i;
      continue;
    }
    if (i + n > length) break;
    int32_t c = n == 1 ? lead : n == 2 ? lead & 0x1F : lead & 0x0F;
    for (int32_t k = 1; k < n; ++k) c = c << 6 | (b->at(offset + i + k) & 0x3F);
    chars->at(filled++) = static_cast<char16_t>(c);
    i += n;
  }
  return String::_VM_new()->_VM_init(chars, 0, filled);
}

}  // namespace tq
