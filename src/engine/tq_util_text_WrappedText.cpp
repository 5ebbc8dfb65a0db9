#include "tq_util_text_WrappedText.h"

#include "VMThrow.h"
#include "java_lang_Character.h"
#include "java_lang_IllegalArgumentException.h"
#include "tq_TqCanvas.h"
#include "tq_util_text_StringHelper.h"

VM_REGISTER_CLASS(tq::util::text::WrappedText, "tq.util.text.WrappedText", "java.lang.Object", VM_HAS_CLINIT);

namespace tq::util::text {

VMStatic<VMArray<char16_t>> WrappedText::defaultBreakChars;

void WrappedText::_VM_clinit() {
  VMPtr<VMArray<char16_t>> chars = VMArray<char16_t>::create(3);
  chars->at(0) = u' ';
  chars->at(1) = u'@';
  chars->at(2) = u'-';
  defaultBreakChars = chars;
}

VMPtr<WrappedText> WrappedText::_VM_init(VMPtr<TqCanvas> c) {
  Base::_VM_init();
  alpha = 255;
  canvas = c;
  reset();
  return VMPtr<WrappedText>(this);
}

void WrappedText::_VM_markReferences(int colour) {
  _VM_mark(breakChars, colour);
  _VM_mark(text, colour);
  _VM_mark(lines, colour);
  _VM_mark(font, colour);
  _VM_mark(canvas, colour);
  Base::_VM_markReferences(colour);
}

void WrappedText::reset() {
  _VM_clinitCheck();
  text = nullptr;
  spacing = 0;
  fontHeight = 0;
  width = 0;
  font = nullptr;
  lines = VMArray<int16_t>::create(0);
  breakChars = VMPtr<VMArray<char16_t>>(defaultBreakChars);
}

int32_t WrappedText::getLineCount() { return VMPtr<VMArray<int16_t>>(lines)->length / 2; }

int32_t WrappedText::getLineStart(int32_t line) { return VMPtr<VMArray<int16_t>>(lines)->at(2 * line); }

VMPtr<VMArray<java::lang::String>> WrappedText::getLines() {
  VMPtr<VMArray<int16_t>> table = lines;
  VMPtr<String> s = text;
  const int32_t n = table->length / 2;
  VMPtr<VMArray<String>> out = VMArray<String>::create(n);
  for (int32_t k = 0; k < n; ++k) {
    const int32_t start = table->at(2 * k);
    out->set(k, s->substring(start, start + table->at(2 * k + 1)));
  }
  return out;
}

int32_t WrappedText::setText(VMPtr<String> s, int32_t w) {
  VMPtr<RichFont> copy = RichFont::_VM_new();
  copy->_VM_init(VMPtr<TqCanvas>(canvas)->getRichFont());
  return setText(copy, s, w);
}

int32_t WrappedText::setText(VMPtr<RichFont> f, VMPtr<String> s, int32_t w) {
  if (s->length() > kMaxLength) _VM_throwNew<java::lang::IllegalArgumentException>("text too long to wrap");
  text = s;
  width = w;
  font = f;
  fontHeight = f->getHeight();
  VMPtr<VMArray<int16_t>> table = VMArray<int16_t>::create(2 * scan(VMPtr<VMArray<int16_t>>()));
  scan(table);
  lines = table;
  return getLineCount();
}

int32_t WrappedText::scan(VMPtr<VMArray<int16_t>> out) {
  const int32_t n = VMPtr<String>(text)->length();
  int32_t count = 0;
  for (int32_t start = 0; start < n; ++count) {
    int32_t skip = 0;
    const int32_t end = lineEnd(start, skip);
    if (out) {
      out->at(2 * count) = static_cast<int16_t>(start);
      out->at(2 * count + 1) = static_cast<int16_t>(end - start);
    }
    start = end + skip;
  }
  return count;
}

int32_t WrappedText::lineEnd(int32_t& start, int32_t& skip) {
  VMPtr<String> s = text;
  VMPtr<RichFont> f = font;
  const int32_t n = s->length();
  int32_t w = 0;
  int32_t i = start;
  while (i < n) {
    char16_t c = s->charAt(i);
    if (i == start && c == u' ') {
      ++start;
      if (++i == n) break;
      c = s->charAt(i);
    }
    if (c == u'\n' || c == u'\r') {
      skip = c == u'\r' && i + 1 < n && s->charAt(i + 1) == u'\n' ? 2 : 1;
      return i;
    }
    w += f->charWidth(c);
    if (w > width) break;
    ++i;
  }
  if (i >= n) return i;
  i = breakBefore(start, i, skip);
  return i > start ? i : start + 1;  // at least one character a line
}

int32_t WrappedText::breakBefore(int32_t start, int32_t i, int32_t& skip) {
  VMPtr<String> s = text;
  VMPtr<VMArray<char16_t>> chars = breakChars;
  const int32_t n = s->length();
  int32_t best = -1;
  for (int32_t b = 0; b < chars->length; ++b) {
    const char16_t bc = chars->at(b);
    const int32_t p = StringHelper::lastIndexOf(s, bc, start + 1, i);
    if (p <= best) continue;
    if (bc == u'-' && p + 1 < n && java::lang::Character::isDigit(s->charAt(p + 1))) continue;
    best = p;
  }
  if (best <= start || best >= i) return i;
  if (s->charAt(best) == u' ') {
    skip = 1;
    return best;
  }
  return best + 1;
}

void WrappedText::draw(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t anchor) {
  VMPtr<String> s = text;
  if (!s) return;
  VMPtr<RichFont> f = font;
  if (f->hasGlyphs() && alpha != 255) applyAlpha(f->getGlyphs(), alpha);
  if ((anchor & 1) != 0) {
    x += width >> 1;
  } else if ((anchor & 8) != 0) {
    x += width;
  }
  const int32_t top = g->getClipY();
  const int32_t bottom = top + g->getClipHeight();
  const int32_t h = getLineHeight();
  int32_t k = 0;
  if (y < top && h > 0) {
    k = (top - y) / h;
    y += k * h;
  }
  VMPtr<VMArray<int16_t>> table = lines;
  for (const int32_t n = table->length / 2; k < n && y <= bottom; ++k, y += h) {
    const int32_t length = table->at(2 * k + 1);
    if (length > 0) f->drawSubstring(g, s, table->at(2 * k), length, x, y, anchor);
  }
}

void WrappedText::applyAlpha(VMPtr<VMArray<Gob>> set, int32_t a) {
  Gob::convertAll(set);
  for (int32_t i = 0; i < set->length; ++i) set->get(i)->setAlpha(a);
}

}  // namespace tq::util::text
