#include "javax_microedition_rms_RecordStoreNotOpenException.h"

VM_REGISTER_CLASS(javax::microedition::rms::RecordStoreNotOpenException, "javax.microedition.rms.RecordStoreNotOpenException", "javax.microedition.rms.RecordStoreException", VM_INSTANTIABLE);

namespace javax::microedition::rms {

VMPtr<RecordStoreNotOpenException> RecordStoreNotOpenException::_VM_init() {
  RecordStoreException::_VM_init();
  return VMPtr<RecordStoreNotOpenException>(this);
}

VMPtr<RecordStoreNotOpenException> RecordStoreNotOpenException::_VM_init(VMPtr<java::lang::String> message) {
  RecordStoreException::_VM_init(message);
  return VMPtr<RecordStoreNotOpenException>(this);
}

}  // namespace javax::microedition::rms
