#pragma once

#include "javax_microedition_rms_RecordStoreException.h"

namespace javax::microedition::rms {

// No record has the given id (or an enumeration walked past its end).
class InvalidRecordIDException : public RecordStoreException {
  VM_THROWABLE_CLASS(InvalidRecordIDException)

 public:
  VMPtr<InvalidRecordIDException> _VM_init();
  VMPtr<InvalidRecordIDException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace javax::microedition::rms
