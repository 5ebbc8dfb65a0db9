#pragma once

#include <cstdint>

#include "java_lang_Exception.h"

namespace javax::microedition::midlet {

class MIDletStateChangeException : public java::lang::Exception {
  VM_EXCEPTION_CLASS(MIDletStateChangeException, java::lang::Exception)
};

}  // namespace javax::microedition::midlet
