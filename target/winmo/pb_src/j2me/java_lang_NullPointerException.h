#pragma once

#include <cstdint>

#include "java_lang_RuntimeException.h"

namespace java::lang {

class NullPointerException : public RuntimeException {
  VM_THROWABLE_CLASS(NullPointerException)

 public:
  VMPtr<NullPointerException> _VM_init();
  VMPtr<NullPointerException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace java::lang
