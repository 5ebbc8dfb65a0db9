#pragma once

#include <cstdint>

#include "java_lang_RuntimeException.h"

namespace java::lang {

class IllegalStateException : public RuntimeException {
  VM_THROWABLE_CLASS(IllegalStateException)

 public:
  VMPtr<IllegalStateException> _VM_init();
  VMPtr<IllegalStateException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace java::lang
