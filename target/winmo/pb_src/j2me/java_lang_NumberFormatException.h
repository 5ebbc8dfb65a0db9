#pragma once

#include <cstdint>

#include "java_lang_IllegalArgumentException.h"

namespace java::lang {

class NumberFormatException : public IllegalArgumentException {
  VM_THROWABLE_CLASS(NumberFormatException)

 public:
  VMPtr<NumberFormatException> _VM_init();
  VMPtr<NumberFormatException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace java::lang
