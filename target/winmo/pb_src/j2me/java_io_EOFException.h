#pragma once

#include <cstdint>

#include "java_io_IOException.h"

namespace java::io {

class EOFException : public IOException {
  VM_THROWABLE_CLASS(EOFException, IOException)

 public:
  VMPtr<EOFException> _VM_init();
};

}  // namespace java::io
