#pragma once

#include <cstdint>

#include "java_lang_RuntimeException.h"

namespace java::util {

class NoSuchElementException : public java::lang::RuntimeException {
  VM_EXCEPTION_CLASS(NoSuchElementException, java::lang::RuntimeException)
};

}  // namespace java::util
