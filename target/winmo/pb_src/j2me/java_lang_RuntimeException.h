#pragma once

#include <cstdint>

#include "java_lang_Exception.h"

namespace java::lang {

class RuntimeException : public Exception {
  VM_EXCEPTION_CLASS(RuntimeException, Exception)
};

}  // namespace java::lang
