#include "java_io_UnsupportedEncodingException.h"

VM_REGISTER_CLASS(java::io::UnsupportedEncodingException, "java.io.UnsupportedEncodingException", "java.io.IOException", VM_INSTANTIABLE);

namespace java::io {

VMPtr<UnsupportedEncodingException> UnsupportedEncodingException::_VM_init() {
  IOException::_VM_init();
  return VMPtr<UnsupportedEncodingException>(this);
}

VMPtr<UnsupportedEncodingException> UnsupportedEncodingException::_VM_init(VMPtr<java::lang::String> message) {
  IOException::_VM_init(message);
  return VMPtr<UnsupportedEncodingException>(this);
}

}  // namespace java::io
