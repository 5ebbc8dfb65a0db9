#pragma once

#include "VMClassKit.h"
#include "java_lang_String.h"

namespace javax::microedition::lcdui {

// A line of text a displayable may carry; this platform has nowhere to
// scroll it, so it is only kept.
class Ticker : public virtual java::lang::Object {
  VM_CLASS(Ticker, java::lang::Object)

 public:
  // NullPointerException for a null text.
  VMPtr<Ticker> _VM_init(VMPtr<java::lang::String> text);
  virtual VMPtr<java::lang::String> getString() { return text; }
  // NullPointerException for a null text.
  virtual void setString(VMPtr<java::lang::String> text);

  void _VM_markReferences(int colour) override;

  VMField<java::lang::String> text;
};

}  // namespace javax::microedition::lcdui
