#pragma once

#include <cstdint>

#include "java_lang_RuntimeException.h"

namespace java::lang {

class NegativeArraySizeException : public RuntimeException {
  VM_THROWABLE_CLASS(NegativeArraySizeException, RuntimeException)

 public:
  VMPtr<NegativeArraySizeException> _VM_init();
};

}  // namespace java::lang
