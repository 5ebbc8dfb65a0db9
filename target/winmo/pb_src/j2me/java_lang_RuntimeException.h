#pragma once

#include <cstdint>

#include "java_lang_Exception.h"

namespace java::lang {

class RuntimeException : public Exception {
  VM_THROWABLE_CLASS(RuntimeException)

 public:
  VMPtr<RuntimeException> _VM_init();
  VMPtr<RuntimeException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace java::lang
