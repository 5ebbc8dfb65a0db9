#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_String.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "tq_Gob.h"
#include "tq_util_text_RichFont.h"

namespace tq {
class TqCanvas;
}

namespace tq::util::text {

// One text broken into lines that fit a pixel width in a RichFont, kept
// as (start, length) pairs of 16-bit values, and drawn clipped to the
// graphics clip. Lines end at a newline (CR, LF or CR LF), else at the
// last usable break character (by default ' ', '@' and '-') before the
// first character that does not fit, else at that character. A break at a
// space drops the space; '@' and '-' stay at the end of their line, and a
// '-' before a digit is no break (it is a minus sign). One leading space
// of a line is dropped. Every line takes at least one character, so an
// over-wide character or a width of 0 or less still ends. A text of 32768
// characters or more is refused with IllegalArgumentException (the line
// table cannot hold it). Canvas thread only.
class WrappedText : public virtual java::lang::Object {
  VM_CLASS(WrappedText, java::lang::Object)

 public:
  using Graphics = javax::microedition::lcdui::Graphics;
  using String = java::lang::String;

  VMPtr<WrappedText> _VM_init(VMPtr<TqCanvas> canvas);

  virtual int32_t getHeight() { return getLineHeight() * getLineCount(); }
  virtual VMPtr<VMArray<String>> getLines();
  // Wraps in a copy of the canvas's font.
  virtual int32_t setText(VMPtr<String> s, int32_t width);
  // Wraps and returns the line count.
  virtual int32_t setText(VMPtr<RichFont> font, VMPtr<String> s, int32_t width);
  virtual void setSpacing(int32_t pixels) { spacing = pixels; }
  virtual void setAlpha(int32_t a) { alpha = a; }
  virtual VMPtr<String> getText() { return VMPtr<String>(text); }
  virtual int32_t getLineCount();
  virtual VMPtr<VMArray<char16_t>> getBreakChars() { return VMPtr<VMArray<char16_t>>(breakChars); }
  // Empty again with the default break characters; alpha and canvas stay.
  virtual void reset();
  // The lines from (x, y) down, one line height apart, each with `anchor`;
  // HCENTER moves x by half the wrap width, RIGHT by all of it. Lines
  // above the clip are skipped by arithmetic, drawing stops below it.
  virtual void draw(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t anchor);
  virtual int32_t getSpacing() { return spacing; }
  virtual int32_t getLineStart(int32_t line);
  virtual int32_t getLineHeight() { return fontHeight + spacing; }
  virtual int32_t getAlpha() { return alpha; }
  virtual int32_t getWidth() { return width; }
  // The array itself is kept.
  virtual void setBreakChars(VMPtr<VMArray<char16_t>> chars) { breakChars = chars; }

  // Plain sprites of the set become alpha images, then all take `alpha`.
  static void applyAlpha(VMPtr<VMArray<Gob>> set, int32_t alpha);

  void _VM_markReferences(int colour) override;
  static void _VM_clinit();

  static constexpr int32_t kMaxLength = 32767;

  VMField<VMArray<char16_t>> breakChars;
  VMField<String> text;
  int32_t width;
  VMField<VMArray<int16_t>> lines;
  int32_t spacing;
  VMField<RichFont> font;
  int32_t fontHeight;
  VMField<TqCanvas> canvas;
  int32_t alpha;

  static VMStatic<VMArray<char16_t>> defaultBreakChars;

 private:
  // Scans the text; fills `out` when it is not null. Returns the count.
  int32_t scan(VMPtr<VMArray<int16_t>> out);
  // The end of the line that starts at `start` (the first character not
  // on it) and whether a newline or space is consumed after it (`skip`).
  int32_t lineEnd(int32_t& start, int32_t& skip);
  // Where an overflowing line starting at `start` breaks before `i`, or
  // `i` itself; sets `skip` when the break consumes a space.
  int32_t breakBefore(int32_t start, int32_t i, int32_t& skip);
};

}  // namespace tq::util::text
