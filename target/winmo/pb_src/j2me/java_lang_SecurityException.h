#pragma once

#include <cstdint>

#include "java_lang_RuntimeException.h"

namespace java::lang {

class SecurityException : public RuntimeException {
  VM_EXCEPTION_CLASS(SecurityException, RuntimeException)
};

}  // namespace java::lang
