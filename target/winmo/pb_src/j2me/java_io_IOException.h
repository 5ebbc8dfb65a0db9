#pragma once

#include <cstdint>

#include "java_lang_Exception.h"

namespace java::io {

class IOException : public java::lang::Exception {
  VM_EXCEPTION_CLASS(IOException, java::lang::Exception)
};

}  // namespace java::io
