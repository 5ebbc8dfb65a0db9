#pragma once

#include <cstdint>

#include "java_lang_Exception.h"

namespace java::lang {

class IllegalAccessException : public Exception {
  VM_THROWABLE_CLASS(IllegalAccessException, Exception)

 public:
  VMPtr<IllegalAccessException> _VM_init();
};

}  // namespace java::lang
