#pragma once

#include <cstdint>

#include "javax_microedition_rms_RecordStoreException.h"

namespace javax::microedition::rms {

class RecordStoreNotOpenException : public RecordStoreException {
  VM_THROWABLE_CLASS(RecordStoreNotOpenException)

 public:
  VMPtr<RecordStoreNotOpenException> _VM_init();
};

}  // namespace javax::microedition::rms
