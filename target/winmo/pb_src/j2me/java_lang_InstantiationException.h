#pragma once

#include <cstdint>

#include "java_lang_Exception.h"

namespace java::lang {

class InstantiationException : public Exception {
  VM_THROWABLE_CLASS(InstantiationException)

 public:
  VMPtr<InstantiationException> _VM_init();
  VMPtr<InstantiationException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace java::lang
