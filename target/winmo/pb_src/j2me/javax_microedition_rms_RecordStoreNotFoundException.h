#pragma once

#include "javax_microedition_rms_RecordStoreException.h"

namespace javax::microedition::rms {

// The named record store does not exist.
class RecordStoreNotFoundException : public RecordStoreException {
  VM_EXCEPTION_CLASS(RecordStoreNotFoundException, RecordStoreException)
};

}  // namespace javax::microedition::rms
