#include "javax_microedition_io_PushRegistry.h"

#include "VMThrow.h"
#include "javax_microedition_io_ConnectionNotFoundException.h"

VM_REGISTER_CLASS(javax::microedition::io::PushRegistry, "javax.microedition.io.PushRegistry", "java.lang.Object", 0);

namespace javax::microedition::io {

int64_t PushRegistry::registerAlarm(VMPtr<java::lang::String> midlet, int64_t time) {
  _VM_throwNew<ConnectionNotFoundException>("not supported");
}

}  // namespace javax::microedition::io
