#pragma once

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_String.h"
#include "javax_microedition_media_Control.h"

namespace javax::microedition::media {

// An object that offers controls by name.
class Controllable : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(Controllable)

 public:
  virtual VMPtr<Control> getControl(VMPtr<java::lang::String> controlType) = 0;
  virtual VMPtr<VMArray<Control>> getControls() = 0;
};

}  // namespace javax::microedition::media
