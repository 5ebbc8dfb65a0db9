#pragma once

#include <cstdint>

#include "java_lang_Exception.h"

namespace java::lang {

class ClassNotFoundException : public Exception {
  VM_THROWABLE_CLASS(ClassNotFoundException, Exception)

 public:
  VMPtr<ClassNotFoundException> _VM_init();
};

}  // namespace java::lang
