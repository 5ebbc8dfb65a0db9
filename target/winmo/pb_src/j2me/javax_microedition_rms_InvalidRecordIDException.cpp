#include "javax_microedition_rms_InvalidRecordIDException.h"

VM_REGISTER_CLASS(javax::microedition::rms::InvalidRecordIDException, "javax.microedition.rms.InvalidRecordIDException", "javax.microedition.rms.RecordStoreException", VM_INSTANTIABLE);

namespace javax::microedition::rms {

VMPtr<InvalidRecordIDException> InvalidRecordIDException::_VM_init() {
  RecordStoreException::_VM_init();
  return VMPtr<InvalidRecordIDException>(this);
}

VMPtr<InvalidRecordIDException> InvalidRecordIDException::_VM_init(VMPtr<java::lang::String> message) {
  RecordStoreException::_VM_init(message);
  return VMPtr<InvalidRecordIDException>(this);
}

}  // namespace javax::microedition::rms
