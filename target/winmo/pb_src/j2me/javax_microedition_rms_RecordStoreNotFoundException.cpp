#include "javax_microedition_rms_RecordStoreNotFoundException.h"

VM_REGISTER_CLASS(javax::microedition::rms::RecordStoreNotFoundException, "javax.microedition.rms.RecordStoreNotFoundException", "javax.microedition.rms.RecordStoreException", VM_INSTANTIABLE);

namespace javax::microedition::rms {

VMPtr<RecordStoreNotFoundException> RecordStoreNotFoundException::_VM_init() {
  RecordStoreException::_VM_init();
  return VMPtr<RecordStoreNotFoundException>(this);
}

VMPtr<RecordStoreNotFoundException> RecordStoreNotFoundException::_VM_init(VMPtr<java::lang::String> message) {
  RecordStoreException::_VM_init(message);
  return VMPtr<RecordStoreNotFoundException>(this);
}

}  // namespace javax::microedition::rms
