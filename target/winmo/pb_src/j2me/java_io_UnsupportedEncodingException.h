#pragma once

#include <cstdint>

#include "java_io_IOException.h"

namespace java::io {

class UnsupportedEncodingException : public IOException {
  VM_EXCEPTION_CLASS(UnsupportedEncodingException, IOException)
};

}  // namespace java::io
