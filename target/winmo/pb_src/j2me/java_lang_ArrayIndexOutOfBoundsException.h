#pragma once

#include <cstdint>

#include "java_lang_IndexOutOfBoundsException.h"

namespace java::lang {

class ArrayIndexOutOfBoundsException : public IndexOutOfBoundsException {
  VM_THROWABLE_CLASS(ArrayIndexOutOfBoundsException, IndexOutOfBoundsException)

 public:
  VMPtr<ArrayIndexOutOfBoundsException> _VM_init();
  VMPtr<ArrayIndexOutOfBoundsException> _VM_init(VMPtr<java::lang::String> message);
  // The message "Array index out of range: " followed by the index.
  VMPtr<ArrayIndexOutOfBoundsException> _VM_init(int32_t index);
};

}  // namespace java::lang
