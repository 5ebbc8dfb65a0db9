#pragma once

#include <cstdint>

#include "java_lang_Exception.h"

namespace java::lang {

class InterruptedException : public Exception {
  VM_THROWABLE_CLASS(InterruptedException, Exception)

 public:
  VMPtr<InterruptedException> _VM_init();
};

}  // namespace java::lang
