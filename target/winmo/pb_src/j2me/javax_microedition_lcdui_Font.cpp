#include "javax_microedition_lcdui_Font.h"

#include "VMJava.h"
#include "VMServices.h"
#include "VMSynchronized.h"
#include "VMThrow.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_Integer.h"

VM_REGISTER_CLASS(javax::microedition::lcdui::Font, "javax.microedition.lcdui.Font",
                  "java.lang.Object", VM_HAS_CLINIT);

namespace javax::microedition::lcdui {

VMStatic<java::util::Hashtable> Font::fontTable;
VMStatic<Font> Font::defaultFont;

namespace {

void checkRange(int32_t offset, int32_t length, int32_t available) {
  if (offset < 0 || length < 0 || offset > available || length > available - offset) {
    _VM_throwNew<java::lang::ArrayIndexOutOfBoundsException>();
  }
}

}  // namespace

void Font::_VM_clinit() {
  VMPtr<java::util::Hashtable> table = java::util::Hashtable::_VM_new();
  table->_VM_init(4);
  fontTable = table;
}

VMPtr<Font> Font::_VM_init(int32_t face, int32_t style, int32_t size) {
  Object::_VM_init();
  HALFont* font = nullptr;
  if (HAL_getFont(&font, face, style, size) != HAL_OK) _VM_fatalError("HAL_getFont() failed.");
  this->face = face;
  this->style = style;
  this->size = size;
  height = font->height;
  baseline = font->ascent;
  native = font;
  return VMPtr<Font>(this);
}

VMPtr<Font> Font::getFont(int32_t face, int32_t style, int32_t size) {
  if (face != FACE_SYSTEM && face != FACE_MONOSPACE && face != FACE_PROPORTIONAL) {
    _VM_throwNew<java::lang::IllegalArgumentException>("Unsupported face");
  }
  if ((style & ~7) != 0) _VM_throwNew<java::lang::IllegalArgumentException>("Unsupported style");
  if (size != SIZE_SMALL && size != SIZE_MEDIUM && size != SIZE_LARGE) {
    _VM_throwNew<java::lang::IllegalArgumentException>("Unsupported size");
  }
  _VM_clinitCheck();
  VMSynchronized guard(_VM_class);
  VMPtr<java::lang::Integer> key = java::lang::Integer::_VM_new();
  key->_VM_init(face | style | size);
  VMPtr<java::lang::Object> found = fontTable->get(key);
  if (found) return _VM_cast<Font>(found);
  VMPtr<Font> font = _VM_new();
  font->_VM_init(face, style, size);
  fontTable->put(key, font);
  return font;
}

VMPtr<Font> Font::getDefaultFont() {
  _VM_clinitCheck();
  VMSynchronized guard(_VM_class);
  if (!defaultFont) {
    VMPtr<Font> font = _VM_new();
    font->_VM_init(FACE_SYSTEM, STYLE_PLAIN, SIZE_MEDIUM);
    defaultFont = font;
  }
  return VMPtr<Font>(defaultFont);
}

int32_t Font::charWidth(char16_t c) { return HAL_getTextWidth(native, &c, 1); }

int32_t Font::charsWidth(VMPtr<VMArray<char16_t>> data, int32_t offset, int32_t length) {
  if (!data) _VM_throwNullPointerException();
  checkRange(offset, length, data->length);
  return length == 0 ? 0 : HAL_getTextWidth(native, data->elements() + offset, length);
}

int32_t Font::substringWidth(VMPtr<java::lang::String> str, int32_t offset, int32_t length) {
  if (!str) _VM_throwNullPointerException();
  checkRange(offset, length, str->count);
  if (length == 0) return 0;
  return HAL_getTextWidth(native, str->value->elements() + str->offset + offset, length);
}

int32_t Font::stringWidth(VMPtr<java::lang::String> str) {
  if (!str) _VM_throwNullPointerException();
  return substringWidth(str, 0, str->count);
}

}  // namespace javax::microedition::lcdui
