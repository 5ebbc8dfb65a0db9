#pragma once

#include <cstdint>

#include "javax_microedition_rms_RecordStoreException.h"

namespace javax::microedition::rms {

class RecordStoreNotFoundException : public RecordStoreException {
  VM_THROWABLE_CLASS(RecordStoreNotFoundException)

 public:
  VMPtr<RecordStoreNotFoundException> _VM_init();
};

}  // namespace javax::microedition::rms
