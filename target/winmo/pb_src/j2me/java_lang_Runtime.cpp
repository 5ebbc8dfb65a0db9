#include "java_lang_Runtime.h"

#include "VMCollector.h"
#include "VMExitException.h"
#include "VMHeap.h"
#include "VMThrow.h"
#include "java_lang_SecurityException.h"

VM_REGISTER_CLASS(java::lang::Runtime, "java.lang.Runtime", "java.lang.Object", 0);

namespace java::lang {

VMStatic<Runtime> Runtime::instance;
uint8_t Runtime::exitAllowed = 0;

VMPtr<Runtime> Runtime::getRuntime() {
  _VM_clinitCheck();
  if (!instance) {
    VMPtr<Runtime> made = _VM_new();
    made->Object::_VM_init();
    instance = made;
  }
  return VMPtr<Runtime>(instance);
}

void Runtime::exit(int32_t status) {
  if (exitAllowed) _VM_throw(VMExitException::_VM_new(status));
  _VM_throwNew<SecurityException>("MIDP lifecycle does not support system exit.");
}

int64_t Runtime::freeMemory() { return _VM_getFreeMemory(); }

int64_t Runtime::totalMemory() { return _VM_getTotalMemory(); }

void Runtime::gc() { _VM_collect(); }

void Runtime::_VM_setExitAllowed(uint8_t allowed) { exitAllowed = allowed ? 1 : 0; }

}  // namespace java::lang
