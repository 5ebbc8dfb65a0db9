#pragma once

#include <cstdint>

#include "java_lang_RuntimeException.h"

namespace java::util {

class NoSuchElementException : public java::lang::RuntimeException {
  VM_THROWABLE_CLASS(NoSuchElementException)

 public:
  VMPtr<NoSuchElementException> _VM_init();
  VMPtr<NoSuchElementException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace java::util
