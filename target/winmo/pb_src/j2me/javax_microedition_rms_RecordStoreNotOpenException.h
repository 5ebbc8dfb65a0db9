#pragma once

#include "javax_microedition_rms_RecordStoreException.h"

namespace javax::microedition::rms {

// The record store was closed.
class RecordStoreNotOpenException : public RecordStoreException {
  VM_THROWABLE_CLASS(RecordStoreNotOpenException)

 public:
  VMPtr<RecordStoreNotOpenException> _VM_init();
  VMPtr<RecordStoreNotOpenException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace javax::microedition::rms
