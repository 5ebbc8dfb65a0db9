#pragma once

#include <cstdint>

#include "java_io_IOException.h"

namespace java::io {

class UnsupportedEncodingException : public IOException {
  VM_THROWABLE_CLASS(UnsupportedEncodingException)

 public:
  VMPtr<UnsupportedEncodingException> _VM_init();
  VMPtr<UnsupportedEncodingException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace java::io
