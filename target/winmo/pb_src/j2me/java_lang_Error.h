#pragma once

#include <cstdint>

#include "java_lang_Throwable.h"

namespace java::lang {

class Error : public Throwable {
  VM_THROWABLE_CLASS(Error)

 public:
  VMPtr<Error> _VM_init();
  VMPtr<Error> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace java::lang
