#pragma once

#include <cstdint>

#include "java_lang_RuntimeException.h"

namespace java::lang {

class IllegalArgumentException : public RuntimeException {
  VM_EXCEPTION_CLASS(IllegalArgumentException, RuntimeException)
};

}  // namespace java::lang
