#pragma once

#include "javax_microedition_rms_RecordStoreException.h"

namespace javax::microedition::rms {

// The named record store does not exist.
class RecordStoreNotFoundException : public RecordStoreException {
  VM_THROWABLE_CLASS(RecordStoreNotFoundException)

 public:
  VMPtr<RecordStoreNotFoundException> _VM_init();
  VMPtr<RecordStoreNotFoundException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace javax::microedition::rms
