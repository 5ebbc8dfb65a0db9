#include "javax_microedition_rms_RecordStoreException.h"

VM_REGISTER_CLASS(javax::microedition::rms::RecordStoreException, "javax.microedition.rms.RecordStoreException", "java.lang.Exception", VM_INSTANTIABLE);

namespace javax::microedition::rms {

VMPtr<RecordStoreException> RecordStoreException::_VM_init() {
  java::lang::Exception::_VM_init();
  return VMPtr<RecordStoreException>(this);
}

VMPtr<RecordStoreException> RecordStoreException::_VM_init(VMPtr<java::lang::String> message) {
  java::lang::Exception::_VM_init(message);
  return VMPtr<RecordStoreException>(this);
}

}  // namespace javax::microedition::rms
