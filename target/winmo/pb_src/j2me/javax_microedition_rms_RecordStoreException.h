#pragma once

#include "java_lang_Exception.h"

namespace javax::microedition::rms {

// A record store operation failed.
class RecordStoreException : public java::lang::Exception {
  VM_THROWABLE_CLASS(RecordStoreException)

 public:
  VMPtr<RecordStoreException> _VM_init();
  VMPtr<RecordStoreException> _VM_init(VMPtr<java::lang::String> message);
};

}  // namespace javax::microedition::rms
