#pragma once

#include "javax_microedition_rms_RecordStoreException.h"

namespace javax::microedition::rms {

// The record store was closed.
class RecordStoreNotOpenException : public RecordStoreException {
  VM_EXCEPTION_CLASS(RecordStoreNotOpenException, RecordStoreException)
};

}  // namespace javax::microedition::rms
