#pragma once

#include <cstdint>

#include "java_lang_RuntimeException.h"

namespace java::lang {

class IllegalStateException : public RuntimeException {
  VM_EXCEPTION_CLASS(IllegalStateException, RuntimeException)
};

}  // namespace java::lang
