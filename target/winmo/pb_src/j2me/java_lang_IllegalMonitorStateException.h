#pragma once

#include <cstdint>

#include "java_lang_RuntimeException.h"

namespace java::lang {

class IllegalMonitorStateException : public RuntimeException {
  VM_THROWABLE_CLASS(IllegalMonitorStateException, RuntimeException)

 public:
  VMPtr<IllegalMonitorStateException> _VM_init();
};

}  // namespace java::lang
