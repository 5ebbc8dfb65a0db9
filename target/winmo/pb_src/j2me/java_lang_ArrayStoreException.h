#pragma once

#include <cstdint>

#include "java_lang_RuntimeException.h"

namespace java::lang {

class ArrayStoreException : public RuntimeException {
  VM_THROWABLE_CLASS(ArrayStoreException, RuntimeException)

 public:
  VMPtr<ArrayStoreException> _VM_init();
};

}  // namespace java::lang
