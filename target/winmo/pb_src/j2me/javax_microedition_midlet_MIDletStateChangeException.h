#pragma once

#include <cstdint>

#include "java_lang_Exception.h"

namespace javax::microedition::midlet {

class MIDletStateChangeException : public java::lang::Exception {
  VM_THROWABLE_CLASS(MIDletStateChangeException)

 public:
  VMPtr<MIDletStateChangeException> _VM_init();
  VMPtr<MIDletStateChangeException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace javax::microedition::midlet
