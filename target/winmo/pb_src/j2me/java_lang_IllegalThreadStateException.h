#pragma once

#include <cstdint>

#include "java_lang_IllegalArgumentException.h"

namespace java::lang {

class IllegalThreadStateException : public IllegalArgumentException {
  VM_THROWABLE_CLASS(IllegalThreadStateException, IllegalArgumentException)

 public:
  VMPtr<IllegalThreadStateException> _VM_init();
};

}  // namespace java::lang
