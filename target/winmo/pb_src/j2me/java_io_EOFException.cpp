#include "java_io_EOFException.h"

VM_REGISTER_CLASS(java::io::EOFException, "java.io.EOFException", "java.io.IOException", VM_INSTANTIABLE);

namespace java::io {

VMPtr<EOFException> EOFException::_VM_init() {
  IOException::_VM_init();
  return VMPtr<EOFException>(this);
}

}  // namespace java::io
