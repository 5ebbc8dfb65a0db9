#pragma once

#include <cstdint>

#include "java_lang_Exception.h"

namespace java::io {

class IOException : public java::lang::Exception {
  VM_THROWABLE_CLASS(IOException)

 public:
  VMPtr<IOException> _VM_init();
  VMPtr<IOException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace java::io
