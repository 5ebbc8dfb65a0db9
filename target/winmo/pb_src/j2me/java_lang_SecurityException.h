#pragma once

#include <cstdint>

#include "java_lang_RuntimeException.h"

namespace java::lang {

class SecurityException : public RuntimeException {
  VM_THROWABLE_CLASS(SecurityException)

 public:
  VMPtr<SecurityException> _VM_init();
  VMPtr<SecurityException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace java::lang
