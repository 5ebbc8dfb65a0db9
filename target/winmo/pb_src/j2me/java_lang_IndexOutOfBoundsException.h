#pragma once

#include <cstdint>

#include "java_lang_RuntimeException.h"

namespace java::lang {

class IndexOutOfBoundsException : public RuntimeException {
  VM_EXCEPTION_CLASS(IndexOutOfBoundsException, RuntimeException)
};

}  // namespace java::lang
