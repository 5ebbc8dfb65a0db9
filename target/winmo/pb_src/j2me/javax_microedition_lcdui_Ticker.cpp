#include "javax_microedition_lcdui_Ticker.h"

#include "VMThrow.h"
#include "java_lang_NullPointerException.h"

VM_REGISTER_CLASS(javax::microedition::lcdui::Ticker, "javax.microedition.lcdui.Ticker", "java.lang.Object", 0);

namespace javax::microedition::lcdui {

VMPtr<Ticker> Ticker::_VM_init(VMPtr<java::lang::String> text) {
  Object::_VM_init();
  setString(text);
  return VMPtr<Ticker>(this);
}

void Ticker::setString(VMPtr<java::lang::String> text) {
  if (!text) _VM_throwNew<java::lang::NullPointerException>();
  this->text = text;
}

void Ticker::_VM_markReferences(int colour) {
  _VM_mark(text, colour);
  Object::_VM_markReferences(colour);
}

}  // namespace javax::microedition::lcdui
