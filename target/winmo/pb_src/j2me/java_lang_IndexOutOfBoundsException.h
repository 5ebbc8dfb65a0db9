#pragma once

#include <cstdint>

#include "java_lang_RuntimeException.h"

namespace java::lang {

class IndexOutOfBoundsException : public RuntimeException {
  VM_THROWABLE_CLASS(IndexOutOfBoundsException)

 public:
  VMPtr<IndexOutOfBoundsException> _VM_init();
  VMPtr<IndexOutOfBoundsException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace java::lang
