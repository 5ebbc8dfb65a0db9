#pragma once

#include <cstdint>

#include "java_lang_Exception.h"

namespace javax::microedition::rms {

class RecordStoreException : public java::lang::Exception {
  VM_THROWABLE_CLASS(RecordStoreException)

 public:
  VMPtr<RecordStoreException> _VM_init();
};

}  // namespace javax::microedition::rms
