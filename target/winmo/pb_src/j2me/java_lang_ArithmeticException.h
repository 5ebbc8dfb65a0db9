#pragma once

#include <cstdint>

#include "java_lang_RuntimeException.h"

namespace java::lang {

class ArithmeticException : public RuntimeException {
  VM_EXCEPTION_CLASS(ArithmeticException, RuntimeException)
};

}  // namespace java::lang
