#pragma once

#include <cstdint>

#include "java_lang_RuntimeException.h"

namespace java::lang {

class ClassCastException : public RuntimeException {
  VM_THROWABLE_CLASS(ClassCastException, RuntimeException)

 public:
  VMPtr<ClassCastException> _VM_init();
};

}  // namespace java::lang
