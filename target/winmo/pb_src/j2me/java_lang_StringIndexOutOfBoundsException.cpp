#include "java_lang_StringIndexOutOfBoundsException.h"

#include "java_lang_StringBuffer.h"

VM_REGISTER_CLASS(java::lang::StringIndexOutOfBoundsException, "java.lang.StringIndexOutOfBoundsException", "java.lang.IndexOutOfBoundsException", VM_INSTANTIABLE);

namespace java::lang {

VMPtr<StringIndexOutOfBoundsException> StringIndexOutOfBoundsException::_VM_init() {
  IndexOutOfBoundsException::_VM_init();
  return VMPtr<StringIndexOutOfBoundsException>(this);
}

VMPtr<StringIndexOutOfBoundsException> StringIndexOutOfBoundsException::_VM_init(VMPtr<java::lang::String> message) {
  IndexOutOfBoundsException::_VM_init(message);
  return VMPtr<StringIndexOutOfBoundsException>(this);
}

VMPtr<StringIndexOutOfBoundsException> StringIndexOutOfBoundsException::_VM_init(int32_t index) {
  VMPtr<StringBuffer> text = StringBuffer::_VM_new();
  text->_VM_init("String index out of range: ");
  text->append(index);
  IndexOutOfBoundsException::_VM_init(text->toString());
  return VMPtr<StringIndexOutOfBoundsException>(this);
}

}  // namespace java::lang
