#pragma once

#include <cstdint>

#include "javax_microedition_rms_RecordStoreException.h"

namespace javax::microedition::rms {

class InvalidRecordIDException : public RecordStoreException {
  VM_THROWABLE_CLASS(InvalidRecordIDException)

 public:
  VMPtr<InvalidRecordIDException> _VM_init();
};

}  // namespace javax::microedition::rms
