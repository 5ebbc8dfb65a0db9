#pragma once

#include <cstdint>

#include "java_lang_Error.h"

namespace java::lang {

class NoClassDefFoundError : public Error {
  VM_THROWABLE_CLASS(NoClassDefFoundError)

 public:
  VMPtr<NoClassDefFoundError> _VM_init();
  VMPtr<NoClassDefFoundError> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace java::lang
