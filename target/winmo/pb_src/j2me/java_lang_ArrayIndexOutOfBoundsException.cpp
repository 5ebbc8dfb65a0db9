#include "java_lang_ArrayIndexOutOfBoundsException.h"

#include "java_lang_StringBuffer.h"

VM_REGISTER_CLASS(java::lang::ArrayIndexOutOfBoundsException, "java.lang.ArrayIndexOutOfBoundsException", "java.lang.IndexOutOfBoundsException", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<ArrayIndexOutOfBoundsException> ArrayIndexOutOfBoundsException::_VM_init() {
  IndexOutOfBoundsException::_VM_init();
  return VMPtr<ArrayIndexOutOfBoundsException>(this);
}

VMPtr<ArrayIndexOutOfBoundsException> ArrayIndexOutOfBoundsException::_VM_init(VMPtr<java::lang::String> message) {
  IndexOutOfBoundsException::_VM_init(message);
  return VMPtr<ArrayIndexOutOfBoundsException>(this);
}

VMPtr<ArrayIndexOutOfBoundsException> ArrayIndexOutOfBoundsException::_VM_init(int32_t index) {
  VMPtr<StringBuffer> text = StringBuffer::_VM_new();
  text->_VM_init("Array index out of range: ");
  text->append(index);
  IndexOutOfBoundsException::_VM_init(text->toString());
  return VMPtr<ArrayIndexOutOfBoundsException>(this);
}

}  // namespace java::lang
