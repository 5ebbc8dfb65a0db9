#pragma once

#include <cstdint>

#include "java_lang_RuntimeException.h"

namespace java::lang {

class ArithmeticException : public RuntimeException {
  VM_THROWABLE_CLASS(ArithmeticException)

 public:
  VMPtr<ArithmeticException> _VM_init();
  VMPtr<ArithmeticException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace java::lang
