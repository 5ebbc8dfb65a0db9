#pragma once

#include "javax_microedition_rms_RecordStoreException.h"

namespace javax::microedition::rms {

// No record has the given id (or an enumeration walked past its end).
class InvalidRecordIDException : public RecordStoreException {
  VM_EXCEPTION_CLASS(InvalidRecordIDException, RecordStoreException)
};

}  // namespace javax::microedition::rms
