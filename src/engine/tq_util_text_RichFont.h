#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_String.h"
#include "java_lang_StringBuffer.h"
#include "javax_microedition_lcdui_Font.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "tq_Gob.h"
#include "tq_util_IntHashtable.h"

namespace tq::util::text {

// The engine's font, in one of two modes. Glyph mode (a glyph set is
// present): each character is a sprite of the set, drawn at the pen, which
// then moves by the glyph's advance; a character without a glyph moves it
// by the missing-glyph advance. System mode: the platform's Font through
// Graphics.drawChars, in a colour of the font's own once setColor ran.
//
// A glyph set is a Gob[] sorted by character code. Each glyph's boxX holds
// its code (after preparation), x and y its ink offset from the pen and
// the line top, boxWidth its advance, and boxHeight its metric slot: on
// glyphs 0 to 6 the font height, baseline, missing-glyph advance,
// preparation marker, line height, extra spacing and anchoring rule
// (non-zero: anchor by the sum of advances, else by the ink extent). As
// stored, x and y hold the high and low byte of the code's step from the
// previous glyph and boxX, boxY the offsets; setGlyphs moves them into
// place once per set (marker 255 on glyph 3: not yet prepared), so fonts
// sharing a set prepare it once. A set of fewer than seven glyphs makes
// the metric reads throw ArrayIndexOutOfBoundsException.
//
// Every text variant (String, String range, StringBuffer, char) copies its
// text into the one shared `charBuffer` and calls its family's char[]
// operation, so measuring and drawing allocate nothing once warm. Anchors
// are the Graphics bits: HCENTER, RIGHT, BOTTOM and BASELINE are read,
// anything else is TOP | LEFT. Canvas thread only.
class RichFont : public virtual java::lang::Object {
  VM_CLASS(RichFont, java::lang::Object)

 public:
  using Chars = VMArray<char16_t>;
  using Gobs = VMArray<Gob>;
  using Graphics = javax::microedition::lcdui::Graphics;
  using String = java::lang::String;
  using StringBuffer = java::lang::StringBuffer;
  using Ints = VMArray<int32_t>;

  // System font 1 (medium plain).
  VMPtr<RichFont> _VM_init();
  // The same mode as `other`: its glyph set (shared, not copied), or its
  // system font and its colour when it has one.
  VMPtr<RichFont> _VM_init(VMPtr<RichFont> other);

  // --- Metrics ---------------------------------------------------------
  virtual uint8_t alignsByAdvance();
  // 0 without glyphs and without a font.
  virtual int32_t getHeight();
  virtual int32_t getBaselinePosition();
  virtual int32_t getLineHeight();
  virtual int32_t getExtraSpacing();
  virtual int32_t getCharDescent(char16_t c);
  virtual int32_t getCharAscent(char16_t c);

  // --- Heights: from the line top down to the lowest ink, or, once after
  // setTightHeightOnce(true), from the highest ink.
  virtual int32_t charsHeight(VMPtr<Chars> ch, int32_t off, int32_t len);
  virtual int32_t substringHeight(VMPtr<String> s, int32_t off, int32_t len);
  virtual int32_t stringHeight(VMPtr<String> s);
  virtual int32_t charHeight(char16_t c);
  virtual int32_t stringBufferHeight(VMPtr<StringBuffer> sb);
  virtual void setTightHeightOnce(uint8_t on) { tightHeightOnce = on; }

  // --- Widths: the sum of advances -------------------------------------
  virtual int32_t charsWidth(VMPtr<Chars> ch, int32_t off, int32_t len);
  virtual int32_t stringBufferWidth(VMPtr<StringBuffer> sb);
  virtual int32_t substringWidth(VMPtr<String> s, int32_t off, int32_t len);
  virtual int32_t charWidth(char16_t c);
  virtual int32_t stringWidth(VMPtr<String> s);

  // --- Ink boxes: {x, y, w, h} into box[0..3] for the text placed at
  // (x, y) with the anchor.
  virtual void getCharsBounds(VMPtr<Chars> ch, int32_t off, int32_t len, int32_t x, int32_t y, VMPtr<Ints> box,
                              int32_t anchor);
  virtual void getStringBounds(VMPtr<String> s, int32_t x, int32_t y, VMPtr<Ints> box, int32_t anchor);
  virtual void getSubstringBounds(VMPtr<String> s, int32_t off, int32_t len, int32_t x, int32_t y, VMPtr<Ints> box,
                                  int32_t anchor);
  virtual void getStringBufferBounds(VMPtr<StringBuffer> sb, int32_t x, int32_t y, VMPtr<Ints> box, int32_t anchor);
  virtual void getCharBounds(char16_t c, int32_t x, int32_t y, VMPtr<Ints> box, int32_t anchor);

  // --- Drawing -----------------------------------------------------------
  // System mode sets the graphics' font when it differs (and leaves it)
  // and swaps the colour in and back only when it differs.
  virtual void drawChars(VMPtr<Graphics> g, VMPtr<Chars> ch, int32_t off, int32_t len, int32_t x, int32_t y,
                         int32_t anchor);
  virtual void drawString(VMPtr<Graphics> g, VMPtr<String> s, int32_t x, int32_t y, int32_t anchor);
  virtual void drawStringBuffer(VMPtr<Graphics> g, VMPtr<StringBuffer> sb, int32_t x, int32_t y, int32_t anchor);
  virtual void drawSubstring(VMPtr<Graphics> g, VMPtr<String> s, int32_t off, int32_t len, int32_t x, int32_t y,
                             int32_t anchor);
  virtual void drawChar(VMPtr<Graphics> g, char16_t c, int32_t x, int32_t y, int32_t anchor);
  // The decimal text of `value` with at least `minDigits` digits.
  virtual void drawNumber(VMPtr<Graphics> g, int32_t value, int32_t minDigits, int32_t x, int32_t y,
                          int32_t anchor);

  // --- Mode and glyphs ---------------------------------------------------
  virtual uint8_t hasGlyphs() { return static_cast<bool>(glyphs); }
  // Null leaves glyph mode; a set not yet prepared is prepared.
  virtual void setGlyphs(VMPtr<Gobs> set);
  virtual VMPtr<Gobs> getGlyphs() { return VMPtr<Gobs>(glyphs); }
  // Leaves glyph mode; a new index (0-5: small, medium, large, then bold)
  // takes its platform font, trying the other faces when SYSTEM has none.
  virtual void setSystemFont(int32_t index);
  virtual int32_t getSystemFontIndex() { return systemFontIndex; }
  // The glyph map first (when there is one), then a binary search of the
  // set; null in system mode or when there is no glyph.
  virtual VMPtr<Gob> getGlyph(char16_t c);
  virtual void addGlyph(int32_t code, VMPtr<Gob> glyph);
  // Glyph mode: plain glyphs of the set become alpha images (for every
  // font sharing the set), then all take `alpha`. Nothing in system mode.
  virtual void setAlpha(int32_t alpha);
  virtual int32_t getAlpha();
  // The system-mode colour (low 24 bits).
  virtual void setColor(int32_t rgb);
  virtual void setUnusedProperty(int32_t v) {}
  virtual int32_t getUnusedProperty() { return 0; }

  void _VM_markReferences(int colour) override;

  int32_t systemFontIndex;
  VMField<Gobs> glyphs;
  uint8_t tightHeightOnce;
  int32_t color;
  uint8_t colorSet;
  VMField<IntHashtable> glyphMap;
  VMField<javax::microedition::lcdui::Font> font;

  static VMStatic<VMArray<int8_t>> fontTable;
  static VMStatic<Chars> charBuffer;
  static VMStatic<StringBuffer> numberBuffer;

  static void _VM_clinit();
  static VMPtr<Chars> ensureCharBuffer(int32_t n);
  static VMPtr<Chars> copyToCharBuffer(VMPtr<String> s, int32_t off, int32_t len);
  static VMPtr<Chars> copyToCharBuffer(VMPtr<StringBuffer> sb, int32_t off, int32_t len);
  static VMPtr<Chars> copyToCharBuffer(char16_t c);

  // Glyph metric slot i (boxHeight of glyph i).
  int32_t metric(int32_t i);
  int32_t leftBearing(VMPtr<Chars> ch, int32_t off);
  int32_t inkWidth(VMPtr<Chars> ch, int32_t off, int32_t len, int32_t bearing);
  int32_t inkTop(VMPtr<Chars> ch, int32_t off, int32_t len);
  int32_t inkHeight(VMPtr<Chars> ch, int32_t off, int32_t len, int32_t top);

 private:
  static void prepare(VMPtr<Gobs> set);
  // The y of a line top for `anchor` at y.
  int32_t lineTop(int32_t y, int32_t anchor);
  void drawGlyphs(VMPtr<Graphics> g, VMPtr<Chars> ch, int32_t off, int32_t len, int32_t x, int32_t y);
  void drawSystem(VMPtr<Graphics> g, VMPtr<Chars> ch, int32_t off, int32_t len, int32_t x, int32_t y);
};

}  // namespace tq::util::text
