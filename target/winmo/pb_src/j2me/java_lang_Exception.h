#pragma once

#include <cstdint>

#include "java_lang_Throwable.h"

namespace java::lang {

class Exception : public Throwable {
  VM_THROWABLE_CLASS(Exception)

 public:
  VMPtr<Exception> _VM_init();
  VMPtr<Exception> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace java::lang
