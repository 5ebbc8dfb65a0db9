#pragma once

#include <cstdint>

#include "java_io_IOException.h"

namespace java::io {

class UTFDataFormatException : public IOException {
  VM_THROWABLE_CLASS(UTFDataFormatException, IOException)

 public:
  VMPtr<UTFDataFormatException> _VM_init();
};

}  // namespace java::io
