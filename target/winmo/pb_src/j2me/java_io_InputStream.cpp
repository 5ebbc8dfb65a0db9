#include "java_io_InputStream.h"

VM_REGISTER_CLASS(java::io::InputStream, "java.io.InputStream", "java.lang.Object", VM_ABSTRACT);

namespace java::io {

VMPtr<InputStream> InputStream::_VM_init() {
  Object::_VM_init();
  return VMPtr<InputStream>(this);
}

}  // namespace java::io
