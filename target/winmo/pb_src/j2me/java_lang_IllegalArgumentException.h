#pragma once

#include <cstdint>

#include "java_lang_RuntimeException.h"

namespace java::lang {

class IllegalArgumentException : public RuntimeException {
  VM_THROWABLE_CLASS(IllegalArgumentException)

 public:
  VMPtr<IllegalArgumentException> _VM_init();
  VMPtr<IllegalArgumentException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace java::lang
