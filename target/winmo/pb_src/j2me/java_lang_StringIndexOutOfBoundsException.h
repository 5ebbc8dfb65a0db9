#pragma once

#include <cstdint>

#include "java_lang_IndexOutOfBoundsException.h"

namespace java::lang {

class StringIndexOutOfBoundsException : public IndexOutOfBoundsException {
  VM_THROWABLE_CLASS(StringIndexOutOfBoundsException, IndexOutOfBoundsException)

 public:
  VMPtr<StringIndexOutOfBoundsException> _VM_init();
  VMPtr<StringIndexOutOfBoundsException> _VM_init(VMPtr<java::lang::String> message);
  // The message "String index out of range: " followed by the index.
  VMPtr<StringIndexOutOfBoundsException> _VM_init(int32_t index);
};

}  // namespace java::lang
