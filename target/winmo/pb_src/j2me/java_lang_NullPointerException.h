#pragma once

#include <cstdint>

#include "java_lang_RuntimeException.h"

namespace java::lang {

class NullPointerException : public RuntimeException {
  VM_EXCEPTION_CLASS(NullPointerException, RuntimeException)
};

}  // namespace java::lang
