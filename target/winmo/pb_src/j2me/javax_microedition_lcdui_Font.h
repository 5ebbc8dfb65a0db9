#pragma once

#include "HALFont.h"
#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_String.h"
#include "java_util_Hashtable.h"

namespace javax::microedition::lcdui {

// A font chosen by face, style and size. Fonts are shared: getFont gives
// the same object for the same arguments (kept in a table under the class's
// monitor), and the native font behind it belongs to the platform's font
// cache, which outlives every Font.
class Font : public virtual java::lang::Object {
  VM_CLASS(Font, java::lang::Object)

 public:
  static constexpr int32_t FACE_SYSTEM = 0;
  static constexpr int32_t FACE_MONOSPACE = 32;
  static constexpr int32_t FACE_PROPORTIONAL = 64;
  static constexpr int32_t STYLE_PLAIN = 0;
  static constexpr int32_t STYLE_BOLD = 1;
  static constexpr int32_t STYLE_ITALIC = 2;
  static constexpr int32_t STYLE_UNDERLINED = 4;
  static constexpr int32_t SIZE_SMALL = 8;
  static constexpr int32_t SIZE_MEDIUM = 0;
  static constexpr int32_t SIZE_LARGE = 16;

  // The shared font; IllegalArgumentException "Unsupported face", "Unsupported
  // style" or "Unsupported size" for codes outside the constants above.
  static VMPtr<Font> getFont(int32_t face, int32_t style, int32_t size);
  // The system face, plain, medium size.
  static VMPtr<Font> getDefaultFont();

  virtual int32_t getStyle() { return style; }
  virtual int32_t getSize() { return size; }
  virtual int32_t getFace() { return face; }
  virtual uint8_t isPlain() { return style == 0; }
  virtual uint8_t isBold() { return (style & STYLE_BOLD) != 0; }
  virtual uint8_t isItalic() { return (style & STYLE_ITALIC) != 0; }
  virtual uint8_t isUnderlined() { return (style & STYLE_UNDERLINED) != 0; }
  virtual int32_t getHeight() { return height; }
  virtual int32_t getBaselinePosition() { return baseline; }
  virtual int32_t charWidth(char16_t c);
  // Widths of a range: NullPointerException for null, and
  // ArrayIndexOutOfBoundsException for a range outside the data.
  virtual int32_t charsWidth(VMPtr<VMArray<char16_t>> data, int32_t offset, int32_t length);
  virtual int32_t substringWidth(VMPtr<java::lang::String> str, int32_t offset, int32_t length);
  virtual int32_t stringWidth(VMPtr<java::lang::String> str);

  // The native font drawing uses; never null once constructed.
  HALFont* nativeFont() const { return native; }

  VMPtr<Font> _VM_init(int32_t face, int32_t style, int32_t size);
  static void _VM_clinit();

  int32_t face;
  int32_t style;
  int32_t size;
  int32_t height;
  int32_t baseline;
  HALFont* native;

  static VMStatic<java::util::Hashtable> fontTable;
  static VMStatic<Font> defaultFont;
};

}  // namespace javax::microedition::lcdui
