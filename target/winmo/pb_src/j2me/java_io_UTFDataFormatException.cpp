#include "java_io_UTFDataFormatException.h"

VM_REGISTER_CLASS(java::io::UTFDataFormatException, "java.io.UTFDataFormatException", "java.io.IOException", VM_INSTANTIABLE);

namespace java::io {

VMPtr<UTFDataFormatException> UTFDataFormatException::_VM_init() {
  IOException::_VM_init();
  return VMPtr<UTFDataFormatException>(this);
}

}  // namespace java::io
